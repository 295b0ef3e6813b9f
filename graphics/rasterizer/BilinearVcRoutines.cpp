#include "graphics/rasterizer/BilinearVcRoutines.h"

#include "graphics/rasterizer/BilinearKind.h"
#include "graphics/rasterizer/PixelFormats.h"
#include "graphics/rasterizer/TriangleOfKind.h"

namespace Tandry {

TANDRY_TRIANGLE_OF_KIND(TexTri8888BilinearVc, BilinearKind<Format8888, VertexTint>, false)
TANDRY_TRIANGLE_OF_KIND(TexTri8888BilinearVcMod, BilinearKind<Format8888, VertexTint>, true)
TANDRY_TRIANGLE_OF_KIND(TexTri888BilinearVc, BilinearKind<Format888, VertexTint>, false)
TANDRY_TRIANGLE_OF_KIND(TexTri888BilinearVcMod, BilinearKind<Format888, VertexTint>, true)
TANDRY_TRIANGLE_OF_KIND(TexTri565BilinearVc, BilinearKind<Format565, VertexTint>, false)
TANDRY_TRIANGLE_OF_KIND(TexTri565BilinearVcMod, BilinearKind<Format565, VertexTint>, true)
TANDRY_TRIANGLE_OF_KIND(TexTri555BilinearVc, BilinearKind<Format555, VertexTint>, false)
TANDRY_TRIANGLE_OF_KIND(TexTri555BilinearVcMod, BilinearKind<Format555, VertexTint>, true)

} // namespace Tandry
