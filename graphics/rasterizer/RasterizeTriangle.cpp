#include "graphics/rasterizer/RasterizeTriangle.h"

#include "graphics/rasterizer/TexturedRoutineTable.h"
#include "graphics/rasterizer/VertexColorRoutines.h"

namespace Tandry {

namespace {

struct FormatGroup {
    TriangleRoutine vertexColor;
    TriangleRoutine vertexColorModulated;
};

// Low five bits of an index: 0-3 empty, 4-5 vertex-coloured, 6-7 modulated;
// 8-15 repeat 0-7 (alpha is never set without a texture); 16-31 textured.
constexpr void FillGroup(std::array<TriangleRoutine, 128>& table, int base, const FormatGroup& group)
{
    for (int low = 0; low < 32; ++low) {
        TriangleRoutine routine = &EmptyTriangleRoutine;
        if (low < 16 && (low & 4) != 0)
            routine = (low & 2) != 0 ? group.vertexColorModulated : group.vertexColor;
        else if (low >= 16)
            routine = TexturedEntriesOfGroup(base / 32)[low - 16];
        table[base + low] = routine;
    }
}

constexpr std::array<TriangleRoutine, 128> BuildTable()
{
    std::array<TriangleRoutine, 128> table{};
    FillGroup(table, 0, {&Tri8888Vc, &Tri8888VcMod});
    FillGroup(table, 32, {&Tri888Vc, &Tri888VcMod});
    FillGroup(table, 64, {&Tri565Vc, &Tri565VcMod});
    FillGroup(table, 96, {&Tri555Vc, &Tri555VcMod});
    return table;
}

} // namespace

constexpr std::array<TriangleRoutine, 128> gTriangleRoutines = BuildTable();

void EmptyTriangleRoutine(const RasterVertex*, void*, int32_t, const RasterTexture*, const RasterColor*, const Rect*)
{
}

int32_t TriangleRoutineIndex(bool textured, bool alpha, bool vertexColors, bool modulate, int32_t format,
                             bool bilinear)
{
    int32_t index = 16 * textured + 8 * alpha + 4 * vertexColors + 2 * modulate + bilinear;
    switch (format) {
    case 0x555: return index + 96;
    case 0x565: return index + 64;
    case 0x888: return index + 32;
    default: return index;
    }
}

void RasterizeTriangle(bool textured, bool alpha, bool vertexColors, bool modulate, const RasterVertex* vertices,
                       void* destination, int32_t pitch, const RasterTexture* texture, const RasterColor* color,
                       int32_t format, bool bilinear, const Rect* clip)
{
    const TriangleRoutine routine =
        gTriangleRoutines[TriangleRoutineIndex(textured, alpha, vertexColors, modulate, format, bilinear)];
    routine(vertices, destination, pitch, texture, color, clip);
}

} // namespace Tandry
