// A slow model of the triangle routines, the oracle their tests compare
// against. It is written from the formulas, not from the production frame:
// each row's edges and values in closed form from the set-up, each pixel's
// values straight from its distance to the long edge, the format and the
// triangle's features chosen at run time.
#pragma once

#include "graphics/rasterizer/RasterColor.h"
#include "graphics/rasterizer/RasterTexture.h"
#include "graphics/rasterizer/RasterVertex.h"
#include "graphics/types/Rect.h"

#include <cstdint>

namespace Tandry::Testing {

struct ReferenceFeatures {
    bool textured = false;
    bool alpha = false;
    bool vertexColors = false;
    bool modulate = false;
    bool bilinear = false;
};

// The features a routine-table index stands for, and its format code.
ReferenceFeatures FeaturesOfIndex(int index);
int32_t FormatOfIndex(int index);

// The blend of one pixel, channel by channel as the formulas state it.
uint32_t ReferenceBlend(int32_t format, uint32_t destination, const uint32_t p[3], uint32_t w);

void ReferenceTriangle(const RasterVertex* vertices, uint8_t* destination, int32_t pitch, int32_t format,
                       const ReferenceFeatures& features, const RasterColor& color, const Rect& clip,
                       const RasterTexture& texture = {});

} // namespace Tandry::Testing
