// Codes the run tables that let blitters copy or skip whole runs of pixels of
// one class: one byte per pixel, the number of pixels from it to the end of
// its run (runs end at each row's end), 255 for anything longer.
#pragma once

#include <cstddef>
#include <cstdint>

namespace Tandry {

// classOf(i) gives the class of pixel i (row-major) as an int of 0 or more.
template <class ClassOf>
void CodeRunLengths(uint8_t* out, int width, int height, ClassOf classOf)
{
    for (int y = 0; y < height; ++y) {
        const size_t row = static_cast<size_t>(y) * static_cast<size_t>(width);
        int run = 0;
        int nextClass = -1; // no class: the row ends here
        for (int x = width - 1; x >= 0; --x) {
            const int cls = classOf(row + static_cast<size_t>(x));
            run = cls == nextClass ? run + 1 : 1;
            nextClass = cls;
            out[row + static_cast<size_t>(x)] = static_cast<uint8_t>(run > 255 ? 255 : run);
        }
    }
}

} // namespace Tandry
