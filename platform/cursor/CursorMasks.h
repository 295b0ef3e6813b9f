// Windows' monochrome cursor masks in the form SDL takes them. Both use rows
// of width / 8 bytes, most significant bit first; only the meaning of a pair
// of bits differs.
#pragma once

#include <cstdint>
#include <vector>

namespace Platform {

// The SDL form of a Windows mask pair: data and mask bits, same row layout.
// AND 0/XOR 0 is black (1, 1), 0/1 white (0, 1), 1/0 transparent (0, 0),
// 1/1 inverted (1, 0).
struct SdlCursorBits {
    std::vector<uint8_t> data;
    std::vector<uint8_t> mask;
};
SdlCursorBits ConvertCursorMasks(const std::vector<uint8_t>& andMask, const std::vector<uint8_t>& xorMask);

} // namespace Platform
