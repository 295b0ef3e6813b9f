#include "graphics/rasterizer/PointSampledAlphaRoutines.h"

#include "graphics/rasterizer/PixelFormats.h"
#include "graphics/rasterizer/PointSampledKind.h"
#include "graphics/rasterizer/TriangleOfKind.h"

namespace Tandry {

namespace {

template <class F, class Tint>
using Alpha = PointSampledKind<F, true, Tint>;

} // namespace

TANDRY_TRIANGLE_OF_KIND(TexTri8888Alpha, Alpha<Format8888, NoTint>, false)
TANDRY_TRIANGLE_OF_KIND(TexTri8888AlphaMod, Alpha<Format8888, ConstantTint>, false)
TANDRY_TRIANGLE_OF_KIND(TexTri8888AlphaVc, Alpha<Format8888, VertexTint>, false)
TANDRY_TRIANGLE_OF_KIND(TexTri8888AlphaVcMod, Alpha<Format8888, VertexTint>, true)
TANDRY_TRIANGLE_OF_KIND(TexTri888Alpha, Alpha<Format888, NoTint>, false)
TANDRY_TRIANGLE_OF_KIND(TexTri888AlphaMod, Alpha<Format888, ConstantTint>, false)
TANDRY_TRIANGLE_OF_KIND(TexTri888AlphaVc, Alpha<Format888, VertexTint>, false)
TANDRY_TRIANGLE_OF_KIND(TexTri888AlphaVcMod, Alpha<Format888, VertexTint>, true)
TANDRY_TRIANGLE_OF_KIND(TexTri565Alpha, Alpha<Format565, NoTint>, false)
TANDRY_TRIANGLE_OF_KIND(TexTri565AlphaMod, Alpha<Format565, ConstantTint>, false)
TANDRY_TRIANGLE_OF_KIND(TexTri565AlphaVc, Alpha<Format565, VertexTint>, false)
TANDRY_TRIANGLE_OF_KIND(TexTri565AlphaVcMod, Alpha<Format565, VertexTint>, true)
TANDRY_TRIANGLE_OF_KIND(TexTri555Alpha, Alpha<Format555, NoTint>, false)
TANDRY_TRIANGLE_OF_KIND(TexTri555AlphaMod, Alpha<Format555, ConstantTint>, false)
TANDRY_TRIANGLE_OF_KIND(TexTri555AlphaVc, Alpha<Format555, VertexTint>, false)
TANDRY_TRIANGLE_OF_KIND(TexTri555AlphaVcMod, Alpha<Format555, VertexTint>, true)

} // namespace Tandry
