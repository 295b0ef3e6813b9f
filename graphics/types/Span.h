// One horizontal run of pixels for the scan-line fills: pixels x to
// x + width - 1 of row y. Polygon filling hands arrays of them to an image.
#pragma once

namespace Tandry {

struct Span {
    int y = 0;
    int x = 0;
    int width = 0;
};

} // namespace Tandry
