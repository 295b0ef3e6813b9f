// How the software blits read a source image: its ARGB words, or, when it is
// palettised, its index bytes through the colour table, without converting
// it back. Both readers index pixels the same way, row by row.
#pragma once

#include <cstddef>
#include <cstdint>

#include "graphics/image/MemoryImage.h"
#include "graphics/image/PixelLanes.h"

namespace Tandry {

struct ArgbWords {
    const uint32_t* bits;
    uint32_t operator[](size_t i) const { return bits[i]; }
    // Words i .. i + 7.
    TANDRY_LANE_INLINE PixelLanes::U32x8 Lanes(size_t i) const { return PixelLanes::Load(bits + i); }
};

struct PaletteWords {
    const uint8_t* indices;
    const uint32_t* table;
    uint32_t operator[](size_t i) const { return table[indices[i]]; }
    TANDRY_LANE_INLINE PixelLanes::U32x8 Lanes(size_t i) const
    {
        const uint8_t* at = indices + i;
        return PixelLanes::U32x8{table[at[0]], table[at[1]], table[at[2]], table[at[3]],
                                 table[at[4]], table[at[5]], table[at[6]], table[at[7]]};
    }
};

// Defines Name(const Job&, ArgbWords) and Name(const Job&, PaletteWords),
// each compiled for AVX2 and for the baseline and running Body(job, words):
// the entry of a family of pixel loops written as templates over the reader
// (a template itself cannot be compiled twice).
#define TANDRY_SOURCE_WORDS_ENTRY(Name, Job, Body)                   \
    TANDRY_LANE_CLONES void Name(const Job& job, ArgbWords words)    \
    {                                                                \
        Body(job, words);                                            \
    }                                                                \
    TANDRY_LANE_CLONES void Name(const Job& job, PaletteWords words) \
    {                                                                \
        Body(job, words);                                            \
    }

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
