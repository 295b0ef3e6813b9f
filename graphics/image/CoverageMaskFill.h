// The coverage fill of a memory image over a whole rectangle of a mask at
// once, with the fully covered pixels of an opaque colour stored as a fill
// stores them. SysFont draws its text mask onto a plain memory image with it,
// instead of the runs and spans the fill slots take.
#pragma once

#include <cstdint>

namespace Tandry {

class MemoryImage;
class Color;
struct Rect;

// Every pixel (x, y) of area (which lies inside the image) takes mask byte
// coverage[(y - coverageY) * coveragePitch + x - coverageX] as
// FillScanLinesWithCoverage would, except that an opaque colour is stored
// where the coverage is 255. The image is marked changed.
void FillCoverageMask(MemoryImage& image, const Rect& area, const Color& color, const uint8_t* coverage,
                      int coverageX, int coverageY, int coveragePitch);

} // namespace Tandry
