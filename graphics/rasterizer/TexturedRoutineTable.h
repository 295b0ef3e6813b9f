// Entries 16 to 31 of each format group of the routine table: the textured
// routines. Bits below 16: alpha 8, vertex colours 4, modulate 2, bilinear 1.
// Linear filtering always sets the alpha bit, so the bilinear entries without
// it (17, 19, 21, 23) are never produced; they hold the bilinear routine of
// the same kind, so a direct call with those flags still filters.
#pragma once

#include "graphics/rasterizer/BilinearRoutines.h"
#include "graphics/rasterizer/BilinearVcRoutines.h"
#include "graphics/rasterizer/PointSampledAlphaRoutines.h"
#include "graphics/rasterizer/PointSampledRoutines.h"
#include "graphics/rasterizer/TriangleRoutine.h"

#include <array>

namespace Tandry {

// Each family by kind: plain, modulated, vertex-coloured, both.
struct TexturedFamilies {
    std::array<TriangleRoutine, 4> pointSampled;
    std::array<TriangleRoutine, 4> pointSampledAlpha;
    std::array<TriangleRoutine, 4> bilinear;
};

constexpr std::array<TriangleRoutine, 16> TexturedEntries(const TexturedFamilies& families)
{
    std::array<TriangleRoutine, 16> entries{};
    for (int low = 0; low < 16; ++low) {
        const int kind = (low & 4) / 2 + (low & 2) / 2;
        if ((low & 1) != 0)
            entries[low] = families.bilinear[kind];
        else if ((low & 8) != 0)
            entries[low] = families.pointSampledAlpha[kind];
        else
            entries[low] = families.pointSampled[kind];
    }
    return entries;
}

// group: 0 for 0x8888, 1 for 0x888, 2 for 0x565, 3 for 0x555.
constexpr std::array<TriangleRoutine, 16> TexturedEntriesOfGroup(int group)
{
    switch (group) {
    case 1:
        return TexturedEntries({{&TexTri8888, &TexTri888Mod, &TexTri888Vc, &TexTri888VcMod},
                                {&TexTri888Alpha, &TexTri888AlphaMod, &TexTri888AlphaVc, &TexTri888AlphaVcMod},
                                {&TexTri888Bilinear, &TexTri888BilinearMod, &TexTri888BilinearVc,
                                 &TexTri888BilinearVcMod}});
    case 2:
        return TexturedEntries({{&TexTri565, &TexTri565Mod, &TexTri565Vc, &TexTri565VcMod},
                                {&TexTri565Alpha, &TexTri565AlphaMod, &TexTri565AlphaVc, &TexTri565AlphaVcMod},
                                {&TexTri565Bilinear, &TexTri565BilinearMod, &TexTri565BilinearVc,
                                 &TexTri565BilinearVcMod}});
    case 3:
        return TexturedEntries({{&TexTri555, &TexTri555Mod, &TexTri555Vc, &TexTri555VcMod},
                                {&TexTri555Alpha, &TexTri555AlphaMod, &TexTri555AlphaVc, &TexTri555AlphaVcMod},
                                {&TexTri555Bilinear, &TexTri555BilinearMod, &TexTri555BilinearVc,
                                 &TexTri555BilinearVcMod}});
    default:
        return TexturedEntries(
            {{&TexTri8888, &TexTri8888Mod, &TexTri8888Vc, &TexTri8888VcMod},
             {&TexTri8888Alpha, &TexTri8888AlphaMod, &TexTri8888AlphaVc, &TexTri8888AlphaVcMod},
             {&TexTri8888Bilinear, &TexTri8888BilinearMod, &TexTri8888BilinearVc, &TexTri8888BilinearVcMod}});
    }
}

} // namespace Tandry
