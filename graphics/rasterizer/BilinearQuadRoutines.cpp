#include "graphics/rasterizer/BilinearQuadRoutines.h"

#include "graphics/rasterizer/BilinearKind.h"
#include "graphics/rasterizer/PixelFormats.h"
#include "graphics/rasterizer/ScanQuad.h"

namespace Tandry {

namespace {

template <class Kind>
void DrawQuadOfKind(const RasterVertex* first, const RasterVertex* second, void* destination, int32_t pitch,
                    const RasterTexture* texture, const RasterColor* color, const Rect* clip)
{
    const typename Kind::State state(texture, color);
    ScanQuad<Kind>(first, second, destination, pitch, state, *clip);
}

template <class F>
QuadRoutine OfFormat(bool modulate)
{
    return modulate ? &DrawQuadOfKind<BilinearKind<F, ConstantTint>> : &DrawQuadOfKind<BilinearKind<F, NoTint>>;
}

} // namespace

QuadRoutine BilinearQuadRoutine(int32_t format, bool modulate)
{
    switch (format) {
    case 0x555: return OfFormat<Format555>(modulate);
    case 0x565: return OfFormat<Format565>(modulate);
    case 0x888: return OfFormat<Format888>(modulate);
    default: return OfFormat<Format8888>(modulate);
    }
}

} // namespace Tandry
