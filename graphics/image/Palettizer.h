// Turns a picture of at most 256 distinct ARGB colours into a colour table and
// one index byte per pixel. Colours are numbered in the order they first
// appear, row by row; table entries past the last colour in use are opaque
// black, so reading the whole table never meets undefined values. Images
// palettise on loading, so the lookup per pixel is kept to a probe or two.
#pragma once

#include <cstddef>
#include <cstdint>

namespace Tandry {

class Palettizer {
public:
    static constexpr uint32_t kUnusedEntry = 0xFF000000;

    // table receives 256 entries, indices one byte per pixel. False when the
    // picture has more than 256 colours; table and indices are then garbage.
    static bool Run(const uint32_t* pixels, size_t count, uint32_t* table, uint8_t* indices);
};

} // namespace Tandry
