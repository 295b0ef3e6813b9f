// Chooses the colour key of a surface made from a picture with transparent
// pixels: the stored value that every non-opaque pixel is written as and that
// the blitter skips. It must differ from every opaque pixel's stored value;
// only when the picture uses every value is a clash left standing.
#pragma once

#include <cstddef>
#include <cstdint>

namespace Tandry {

class SurfaceConverter;

class ColorKeyChooser {
public:
    // The candidate is the first non-opaque pixel in row order: its stored
    // value on 16 bits, its whole ARGB word on 32 (so its alpha byte keeps it
    // apart from every opaque pixel, whose stored top byte is 0); 0 when
    // there is none. When an opaque pixel stores the candidate, the free
    // value the search finds replaces it.
    // 16 bits: words[i] is the stored value of pixels[i].
    static uint32_t Choose16(const uint32_t* pixels, const uint16_t* words, size_t count);
    static uint32_t Choose32(const SurfaceConverter& converter, const uint32_t* pixels, size_t count);

    // The searches, over the stored values of every pixel with alpha 1 or
    // more; false when every value is taken. 16 bits: the lowest free value
    // of the highest group of 32 values with one free. 32 bits: the lowest
    // free 24-bit value.
    static bool FindFree16(const uint32_t* pixels, const uint16_t* words, size_t count, uint32_t& key);
    static bool FindFree24(const SurfaceConverter& converter, const uint32_t* pixels, size_t count, uint32_t& key);
};

} // namespace Tandry
