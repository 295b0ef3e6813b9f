// The vertex of every Direct3D draw: pre-transformed and pre-lit, in screen
// pixels, with one colour and one texture position; and the list that the
// polygon clipping works in, with room for 100 vertices inside it so that
// ordinary drawing allocates nothing. Used by D3DInterface and its clipping.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace Tandry {

struct D3DVertex {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float rhw = 1.0f;
    uint32_t color = 0; // 0xAARRGGBB
    uint32_t specular = 0;
    float u = 0.0f;
    float v = 0.0f;
};
static_assert(sizeof(D3DVertex) == 32);

// A vertex at (x, y) with depth 0 and rhw 1.
inline D3DVertex MakeD3DVertex(float x, float y, uint32_t color, float u = 0.0f, float v = 0.0f)
{
    D3DVertex vertex;
    vertex.x = x;
    vertex.y = y;
    vertex.color = color;
    vertex.u = u;
    vertex.v = v;
    return vertex;
}

// Position with rhw, diffuse, specular, one texture position.
inline constexpr uint32_t kD3DVertexFormat = 0x1C4;

class VertexList {
public:
    static constexpr int kInline = 100;

    VertexList() = default;
    // Copies only the used vertices.
    VertexList(const VertexList& other);
    VertexList& operator=(const VertexList& other);

    // Doubles the room when full.
    void Add(const D3DVertex& vertex);
    void Clear() { mCount = 0; }
    int Count() const { return mCount; }
    int Capacity() const { return mCapacity; }
    D3DVertex* Data() { return mHeap ? mHeap.get() : mInline; }
    const D3DVertex* Data() const { return mHeap ? mHeap.get() : mInline; }
    D3DVertex& operator[](int i) { return Data()[i]; }
    const D3DVertex& operator[](int i) const { return Data()[i]; }

private:
    void Reserve(int capacity);

    D3DVertex mInline[kInline];
    std::unique_ptr<D3DVertex[]> mHeap;
    int mCount = 0;
    int mCapacity = kInline;
};

} // namespace Tandry
