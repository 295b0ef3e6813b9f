// The DirectX name of an HRESULT, as every DirectX failure text spells it
// ("DDERR_SURFACELOST"); codes without a name print as bare lower-case hex.
#pragma once

#include "platform/dx/HResult.h"

#include <string>

namespace Tandry {

std::string DXErrorName(Platform::HRESULT code);

} // namespace Tandry
