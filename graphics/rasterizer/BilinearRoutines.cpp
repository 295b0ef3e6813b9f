#include "graphics/rasterizer/BilinearRoutines.h"

#include "graphics/rasterizer/BilinearKind.h"
#include "graphics/rasterizer/PixelFormats.h"
#include "graphics/rasterizer/TriangleOfKind.h"

namespace Tandry {

TANDRY_TRIANGLE_OF_KIND(TexTri8888Bilinear, BilinearKind<Format8888, NoTint>, false)
TANDRY_TRIANGLE_OF_KIND(TexTri8888BilinearMod, BilinearKind<Format8888, ConstantTint>, false)
TANDRY_TRIANGLE_OF_KIND(TexTri888Bilinear, BilinearKind<Format888, NoTint>, false)
TANDRY_TRIANGLE_OF_KIND(TexTri888BilinearMod, BilinearKind<Format888, ConstantTint>, false)
TANDRY_TRIANGLE_OF_KIND(TexTri565Bilinear, BilinearKind<Format565, NoTint>, false)
TANDRY_TRIANGLE_OF_KIND(TexTri565BilinearMod, BilinearKind<Format565, ConstantTint>, false)
TANDRY_TRIANGLE_OF_KIND(TexTri555Bilinear, BilinearKind<Format555, NoTint>, false)
TANDRY_TRIANGLE_OF_KIND(TexTri555BilinearMod, BilinearKind<Format555, ConstantTint>, false)

} // namespace Tandry
