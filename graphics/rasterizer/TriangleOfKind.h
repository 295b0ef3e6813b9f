// Turns a kind (format, interpolants, per-call state and pixel step) into a
// whole-triangle routine: the state is built once per call, and a routine
// that folds the drawing colour into the vertex colours does it on its own
// copy of the three vertices, so a fan's shared vertices stay as converted.
#pragma once

#include "graphics/rasterizer/RasterColor.h"
#include "graphics/rasterizer/RasterTexture.h"
#include "graphics/rasterizer/RasterVertex.h"
#include "graphics/rasterizer/ScanTriangle.h"
#include "graphics/rasterizer/VertexColorKind.h"
#include "graphics/types/Rect.h"

#include <cstdint>

namespace Tandry {

template <class Kind, bool kFoldColor>
void DrawTriangleOfKind(const RasterVertex* vertices, void* destination, int32_t pitch,
                        const RasterTexture* texture, const RasterColor* color, const Rect* clip)
{
    const typename Kind::State state(texture, color);
    if constexpr (kFoldColor) {
        const auto own = ModulateVertexColors(vertices, *color);
        ScanTriangle<Kind>(own.data(), destination, pitch, state, *clip);
    } else {
        ScanTriangle<Kind>(vertices, destination, pitch, state, *clip);
    }
}

} // namespace Tandry

// Defines the named routine `name` as DrawTriangleOfKind<kind, fold>.
#define TANDRY_TRIANGLE_OF_KIND(name, ...)                                                                     \
    void name(const RasterVertex* vertices, void* destination, int32_t pitch, const RasterTexture* texture,   \
              const RasterColor* color, const Rect* clip)                                                      \
    {                                                                                                          \
        DrawTriangleOfKind<__VA_ARGS__>(vertices, destination, pitch, texture, color, clip);                  \
    }
