#include "graphics/rasterizer/PointSampledRoutines.h"

#include "graphics/rasterizer/PixelFormats.h"
#include "graphics/rasterizer/PointSampledKind.h"
#include "graphics/rasterizer/TriangleOfKind.h"

namespace Tandry {

namespace {

template <class F, class Tint>
using Opaque = PointSampledKind<F, false, Tint>;

} // namespace

TANDRY_TRIANGLE_OF_KIND(TexTri8888, Opaque<Format8888, NoTint>, false)
TANDRY_TRIANGLE_OF_KIND(TexTri8888Mod, Opaque<Format8888, ConstantTint>, false)
TANDRY_TRIANGLE_OF_KIND(TexTri8888Vc, Opaque<Format8888, VertexTint>, false)
TANDRY_TRIANGLE_OF_KIND(TexTri8888VcMod, Opaque<Format8888, VertexTint>, true)
TANDRY_TRIANGLE_OF_KIND(TexTri888Mod, Opaque<Format888, ConstantTint>, false)
TANDRY_TRIANGLE_OF_KIND(TexTri888Vc, Opaque<Format888, VertexTint>, false)
TANDRY_TRIANGLE_OF_KIND(TexTri888VcMod, Opaque<Format888, VertexTint>, true)
TANDRY_TRIANGLE_OF_KIND(TexTri565, Opaque<Format565, NoTint>, false)
TANDRY_TRIANGLE_OF_KIND(TexTri565Mod, Opaque<Format565, ConstantTint>, false)
TANDRY_TRIANGLE_OF_KIND(TexTri565Vc, Opaque<Format565, VertexTint>, false)
TANDRY_TRIANGLE_OF_KIND(TexTri565VcMod, Opaque<Format565, VertexTint>, true)
TANDRY_TRIANGLE_OF_KIND(TexTri555, Opaque<Format555, NoTint>, false)
TANDRY_TRIANGLE_OF_KIND(TexTri555Mod, Opaque<Format555, ConstantTint>, false)
TANDRY_TRIANGLE_OF_KIND(TexTri555Vc, Opaque<Format555, VertexTint>, false)
TANDRY_TRIANGLE_OF_KIND(TexTri555VcMod, Opaque<Format555, VertexTint>, true)

} // namespace Tandry
