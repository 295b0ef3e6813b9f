#include "graphics/display/D3DInterface.h"

#include "graphics/image/MemoryImage.h"

namespace Tandry {

std::string gD3DErrorText;
bool gD3DSceneFailed = false;

void ResetD3DGlobals()
{
    gD3DErrorText.clear();
    gD3DSceneFailed = false;
}

bool D3DInterface::Init(DDInterface*)
{
    gD3DErrorText = "Direct3D is not available";
    return false;
}

void D3DInterface::FreeImageTextures(MemoryImage*) {}

void D3DInterface::BltTransformed(MemoryImage*, const Rect&, const Color&, int, const Rect&, const Matrix3x3&, bool)
{
}

bool D3DInterface::ReadImageTextures(const MemoryImage*, uint32_t*)
{
    return false;
}

} // namespace Tandry
