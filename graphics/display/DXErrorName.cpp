#include "graphics/display/DXErrorName.h"

#include <cstdint>
#include <cstdio>

namespace Tandry {

std::string DXErrorName(Platform::HRESULT code)
{
    switch (code) {
#define MOORGLEN_NAME_CASE(name, value) \
    case Platform::name: return #name;
        MOORGLEN_DIRECTX_ERRORS(MOORGLEN_NAME_CASE)
#undef MOORGLEN_NAME_CASE
    default: break;
    }
    char digits[16];
    std::snprintf(digits, sizeof digits, "%x", static_cast<unsigned>(static_cast<uint32_t>(code)));
    return digits;
}

} // namespace Tandry
