// How the software blits read a source image: its ARGB words, or, when it is
// palettised, its index bytes through the colour table, without converting
// it back. Both readers index pixels the same way, row by row.
#pragma once

#include <cstddef>
#include <cstdint>

#include "graphics/MemoryImage.h"

namespace Tandry {

struct ArgbWords {
    const uint32_t* bits;
    uint32_t operator[](size_t i) const { return bits[i]; }
};

struct PaletteWords {
    const uint8_t* indices;
    const uint32_t* table;
    uint32_t operator[](size_t i) const { return table[indices[i]]; }
};

// Calls f with the reader that fits src; every variant of a blit is one
// instantiation of f's body.
template <class F>
void VisitSourceWords(MemoryImage& src, F&& f)
{
    if (src.mColorIndices && src.mColorTable)
        f(PaletteWords{src.mColorIndices.get(), src.mColorTable.get()});
    else
        f(ArgbWords{src.GetBits()});
}

} // namespace Tandry
