// Codes the run tables that let blitters copy or skip whole runs of pixels of
// one class: one byte per pixel, the number of pixels from it to the end of
// its run (runs end at each row's end), 255 for anything longer.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace Tandry {

namespace RunLengthDetail {

inline void CodeRun(uint8_t* out, size_t length)
{
    if (length > 255) {
        std::memset(out, 255, length - 255);
        out += length - 255;
        length = 255;
    }
    // A plain countdown: most runs are short, too short for a library copy to pay.
    for (size_t k = 0; k < length; ++k)
        out[k] = static_cast<uint8_t>(length - k);
}

// The end of the run that starts at x in a row of class bytes, compared
// eight at a time: most runs are long.
inline size_t RunEnd(const uint8_t* classes, size_t x, size_t width)
{
    const uint8_t cls = classes[x];
    const uint64_t pattern = cls * 0x0101010101010101ull;
    size_t end = x + 1;
    for (; end + 8 <= width; end += 8) {
        uint64_t chunk;
        std::memcpy(&chunk, classes + end, 8);
        const uint64_t diff = chunk ^ pattern;
        if (diff != 0) {
            if constexpr (std::endian::native == std::endian::little)
                return end + static_cast<size_t>(std::countr_zero(diff) / 8);
            else
                return end + static_cast<size_t>(std::countl_zero(diff) / 8);
        }
    }
    while (end < width && classes[end] == cls)
        ++end;
    return end;
}

} // namespace RunLengthDetail

// classOf(i) gives the class of pixel i (row-major), 0 to 255.
template <class ClassOf>
void CodeRunLengths(uint8_t* out, int width, int height, ClassOf classOf)
{
    const size_t w = static_cast<size_t>(width);
    std::vector<uint8_t> classes(w);
    for (size_t row = 0; row < static_cast<size_t>(height) * w; row += w) {
        for (size_t x = 0; x < w; ++x)
            classes[x] = static_cast<uint8_t>(classOf(row + x));
        for (size_t x = 0; x < w;) {
            const size_t end = RunLengthDetail::RunEnd(classes.data(), x, w);
            RunLengthDetail::CodeRun(out + row + x, end - x);
            x = end;
        }
    }
}

} // namespace Tandry
