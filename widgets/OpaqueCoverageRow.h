// How a row of text coverage reaches an image when the colour is opaque:
// the blending rule of the coverage fill never gives an opaque colour
// exactly, so fully covered runs go to the plain fill and the rest to the
// coverage fill. SysFont drawing uses it.
#pragma once

#include <cstdint>
#include <vector>

#include "graphics/types/Span.h"

namespace Tandry {

// Transparent stretches at least this long are left out of the blended runs;
// shorter ones are blended through (they blend to nothing), which spares a span.
inline constexpr int kLongCoverageGap = 8;

// Splits coverage[0..count), pixels x0.. of the row, into the runs of 255
// (filled) and the stretches between them (covered), without their
// transparent stretches of kLongCoverageGap pixels or more. Spans are
// appended in the row's order.
void SplitOpaqueCoverageRow(const uint8_t* coverage, int count, int row, int x0, std::vector<Span>& covered,
                            std::vector<Span>& filled);

} // namespace Tandry
