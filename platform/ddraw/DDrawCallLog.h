// The call log of the DirectDraw and Direct3D stand-ins: every logged operation
// with the caps of the surface it concerns, its flags, its rectangles, the
// device's arguments and its result, in call order. Tests read and clear it. The oldest entries go past a limit, so a long
// run never grows it without bound.
#pragma once

#include "platform/ddraw/DDrawOp.h"
#include "platform/ddraw/DDrawTypes.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

namespace Platform {

struct DDrawCall {
    DDrawOp op = DDrawOp::Blt;
    uint32_t caps = 0;  // the surface's caps (the requested caps for CreateSurface)
    uint32_t flags = 0; // the call's flags; the bit count for SetDisplayMode
    std::optional<RECT> destRect;   // Blt: the destination as given (null: whole); SetDisplayMode: (0, 0, w, h)
    std::optional<RECT> sourceRect; // Blt: the source as given
    std::optional<IID> iid;         // QueryInterface, DirectDrawCreateEx, CreateDevice
    // The Direct3D device's arguments, where the call has them.
    std::optional<uint32_t> stage;       // SetTexture, SetTextureStageState
    std::optional<uint32_t> state;       // SetRenderState, SetTextureStageState
    std::optional<uint32_t> value;       // the state's value
    const void* surface = nullptr;       // SetTexture (null: none), SetRenderTarget, CreateDevice
    std::optional<uint32_t> primitiveType;
    std::optional<uint32_t> vertexFormat;
    std::optional<uint32_t> count;       // DrawPrimitive: vertices; Clear: rectangles
    std::vector<uint8_t> vertices;       // DrawPrimitive: a copy, when the format is known
    std::vector<RECT> rects;             // Clear: the rectangles as given
    std::optional<uint32_t> colour;      // Clear
    std::optional<RECT> viewport;        // SetViewport: (x, y, x + width, y + height)
    float minZ = 0.0f;                   // SetViewport
    float maxZ = 0.0f;
    HRESULT result = DD_OK;

    static DDrawCall Of(DDrawOp op, uint32_t caps = 0, uint32_t flags = 0)
    {
        DDrawCall call;
        call.op = op;
        call.caps = caps;
        call.flags = flags;
        return call;
    }
    static DDrawCall OfInterface(DDrawOp op, uint32_t caps, REFIID iid)
    {
        DDrawCall call = Of(op, caps);
        call.iid = iid;
        return call;
    }
};

class DDrawCallLog {
public:
    static constexpr std::size_t kLimit = 65536;

    void Add(DDrawCall call);
    std::vector<DDrawCall> Entries() const { return {mCalls.begin(), mCalls.end()}; }
    void Clear() { mCalls.clear(); }

private:
    std::deque<DDrawCall> mCalls;
};

} // namespace Platform
