// Textured triangles on the 3D screen: on a one-piece image in batches of
// triangle lists, on an image of several pieces cut into the pieces each
// triangle covers; either way kept inside the drawing context's clip.
#include "graphics/display/D3DInterface.h"

#include "graphics/display/D3DPolygonClip.h"
#include "graphics/display/TextureData.h"
#include "graphics/types/ClampedColor.h"
#include "graphics/types/Color.h"
#include "graphics/types/Rect.h"
#include "graphics/types/TriVertex.h"
#include "platform/d3d/D3DConstants.h"

#include <algorithm>
#include <cmath>

namespace Tandry {

using namespace Platform;

namespace {

constexpr int kBatchTriangles = 100;

struct ClipBox {
    float left;
    float top;
    float right;
    float bottom;

    bool Holds(const D3DVertex& v) const { return left <= v.x && v.x < right && top <= v.y && v.y < bottom; }
};

// A piece index range edge: the value, inside 0..limit.
int PieceEdge(float value, int limit)
{
    return static_cast<int>(std::clamp(static_cast<double>(value), 0.0, static_cast<double>(limit)));
}

} // namespace

void D3DInterface::BltTriangles(const TriVertex* triangles, int count, const Color& color, int drawMode,
                                MemoryImage* image, float tx, float ty, bool linear, const Rect* clip)
{
    if (TextureData* data = BeginTexturedDraw(image, drawMode, linear))
        DrawTriangleList(triangles, triangles != nullptr ? count : 0, color, data, tx, ty, clip);
}

void D3DInterface::DrawTriangleList(const TriVertex* triangles, int count, const Color& color, TextureData* data,
                                    float tx, float ty, const Rect* clip)
{
    if (data->mPieces.empty() || count <= 0)
        return;
    const uint32_t diffuse = ClampedColor(color).Packed();
    ClipBox box{};
    if (clip != nullptr) {
        box = ClipBox{static_cast<float>(clip->x), static_cast<float>(clip->y),
                      static_cast<float>(int64_t{clip->x} + clip->width),
                      static_cast<float>(int64_t{clip->y} + clip->height)};
    }
    // False for a triangle with a coordinate that is not a finite number:
    // it lies nowhere, and its piece range has no integer bounds.
    const auto toVertices = [&](const TriVertex* in, D3DVertex* out) {
        for (int k = 0; k < 3; ++k) {
            D3DVertex& v = out[k];
            v = D3DVertex();
            v.x = tx + in[k].x;
            v.y = ty + in[k].y;
            v.u = in[k].u * data->mMaxU;
            v.v = in[k].v * data->mMaxV;
            v.color = in[k].color != 0 ? in[k].color : diffuse;
            if (!std::isfinite(v.x) || !std::isfinite(v.y) || !std::isfinite(v.u) || !std::isfinite(v.v))
                return false;
        }
        return true;
    };
    const auto clipToBox = [&](VertexList& polygon) {
        if (clip != nullptr)
            ClipPolygonToRect(polygon, box.left, box.top, box.right, box.bottom);
    };

    if (data->mMaxU <= 1.0f && data->mMaxV <= 1.0f) {
        SetTexture(data->mPieces[0].texture, "SetTexture gTexture");
        D3DVertex batch[kBatchTriangles * 3];
        int pending = 0;
        const auto flush = [&]() {
            if (pending > 0)
                DrawPrimitive(D3DPT_TRIANGLELIST, batch, pending * 3, "DrawPrimitive (TriList)");
            pending = 0;
        };
        for (int i = 0; i < count; ++i) {
            D3DVertex corners[3];
            if (!toVertices(triangles + 3 * i, corners))
                continue;
            if (clip == nullptr
                || std::all_of(corners, corners + 3, [&](const D3DVertex& v) { return box.Holds(v); })) {
                std::copy_n(corners, 3, batch + 3 * pending);
                if (++pending == kBatchTriangles)
                    flush();
                continue;
            }
            VertexList polygon;
            for (const D3DVertex& v : corners)
                polygon.Add(v);
            clipToBox(polygon);
            if (polygon.Count() > 2) {
                // The batch goes first, so the triangles keep their order.
                flush();
                DrawPrimitive(D3DPT_TRIANGLEFAN, polygon.Data(), polygon.Count(), "DrawPrimitive (Tri) 4");
            }
        }
        flush();
        return;
    }

    const TexturePiece& first = data->mPieces[0];
    for (int i = 0; i < count; ++i) {
        D3DVertex corners[3];
        if (!toVertices(triangles + 3 * i, corners))
            continue;
        const auto [minU, maxU] = std::minmax({corners[0].u, corners[1].u, corners[2].u});
        const auto [minV, maxV] = std::minmax({corners[0].v, corners[1].v, corners[2].v});
        const int firstColumn = PieceEdge(std::floor(minU), data->mColumns);
        const int endColumn = PieceEdge(std::ceil(maxU), data->mColumns);
        const int firstRow = PieceEdge(std::floor(minV), data->mRows);
        const int endRow = PieceEdge(std::ceil(maxV), data->mRows);
        for (int row = firstRow; row < endRow; ++row) {
            for (int column = firstColumn; column < endColumn; ++column) {
                const TexturePiece& piece = data->mPieces[static_cast<size_t>(row * data->mColumns + column)];
                VertexList polygon;
                for (D3DVertex v : corners) {
                    v.u -= static_cast<float>(column);
                    v.v -= static_cast<float>(row);
                    // The last row and column hold smaller textures.
                    if (row == data->mRows - 1)
                        v.v *= static_cast<float>(first.height) / static_cast<float>(piece.height);
                    if (column == data->mColumns - 1)
                        v.u *= static_cast<float>(first.width) / static_cast<float>(piece.width);
                    polygon.Add(v);
                }
                ClipPolygonToUnitUV(polygon);
                clipToBox(polygon);
                if (polygon.Count() > 2) {
                    SetTexture(piece.texture, "SetTexture gTexture");
                    DrawPrimitive(D3DPT_TRIANGLEFAN, polygon.Data(), polygon.Count(), "DrawPrimitive (Tri) 4");
                }
            }
        }
    }
}

} // namespace Tandry
