#include "graphics/rasterizer/VertexColorRoutines.h"

#include "graphics/rasterizer/PixelFormats.h"
#include "graphics/rasterizer/ScanTriangle.h"
#include "graphics/rasterizer/VertexColorKind.h"

namespace Tandry {

namespace {

template <class F, bool kModulated>
void VertexColorTriangle(const RasterVertex* vertices, void* destination, int32_t pitch,
                         const RasterTexture* texture, const RasterColor* color, const Rect* clip)
{
    using Kind = VertexColorKind<F>;
    const typename Kind::State state(texture, color);
    if constexpr (kModulated) {
        const auto own = ModulateVertexColors(vertices, *color);
        ScanTriangle<Kind>(own.data(), destination, pitch, state, *clip);
    } else {
        ScanTriangle<Kind>(vertices, destination, pitch, state, *clip);
    }
}

} // namespace

#define TANDRY_ROUTINE(name, format, modulated)                                                                \
    void name(const RasterVertex* vertices, void* destination, int32_t pitch, const RasterTexture* texture,   \
              const RasterColor* color, const Rect* clip)                                                      \
    {                                                                                                          \
        VertexColorTriangle<format, modulated>(vertices, destination, pitch, texture, color, clip);           \
    }

TANDRY_ROUTINE(Tri8888Vc, Format8888, false)
TANDRY_ROUTINE(Tri888Vc, Format888, false)
TANDRY_ROUTINE(Tri565Vc, Format565, false)
TANDRY_ROUTINE(Tri555Vc, Format555, false)
TANDRY_ROUTINE(Tri8888VcMod, Format8888, true)
TANDRY_ROUTINE(Tri888VcMod, Format888, true)
TANDRY_ROUTINE(Tri565VcMod, Format565, true)
TANDRY_ROUTINE(Tri555VcMod, Format555, true)

#undef TANDRY_ROUTINE

} // namespace Tandry
