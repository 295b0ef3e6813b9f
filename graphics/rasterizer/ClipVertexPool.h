// The records that clipping one triangle creates. Each RasterizePolygon call
// owns its pool, so the rasteriser is reentrant; the vertices stay valid until
// the next ClipPolygonToRect on the same pool. Clipping a triangle by four
// edges makes at most 8 vertices, far below the 64 records.
#pragma once

#include "graphics/types/TriVertex.h"

#include <array>
#include <cassert>

namespace Tandry {

struct ClipVertexPool {
    static constexpr int kCapacity = 64;

    TriVertex* Take()
    {
        assert(count < kCapacity);
        return &vertices[count++];
    }

    std::array<TriVertex, kCapacity> vertices{};
    int count = 0;
};

} // namespace Tandry
