// The textured half of the slow reference model: texel fetch, the bilinear
// filter and what one textured pixel becomes, channel by channel as the
// formulas state them, with the triangle's features chosen at run time.
#pragma once

#include "graphics/rasterizer/RasterColor.h"
#include "graphics/rasterizer/RasterTexture.h"
#include "graphics/rasterizer/ReferenceRasterizer.h"

#include <cstdint>

namespace Tandry::Testing {

// The texel at linear index `index`, or 0 outside 0 .. count - 1.
uint32_t ReferenceTexel(const RasterTexture& texture, int64_t index);

// Filtered texel at the sample position (su, sv), whole numbers on centres.
uint32_t ReferenceSampleBilinear(const RasterTexture& texture, int32_t su, int32_t sv);

// One covered pixel of a textured triangle. q holds the pixel's alpha, red,
// green, blue, u and v as walked (u and v without the half-texel offset);
// the colour fields count only with vertex colours.
void ReferenceTexturedPixel(uint8_t* at, int32_t format, const ReferenceFeatures& features,
                            const RasterColor& color, const RasterTexture& texture, const int32_t q[6]);

} // namespace Tandry::Testing
