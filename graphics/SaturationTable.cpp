#include "graphics/SaturationTable.h"

#include <array>

#include "graphics/ImageHost.h"

namespace Tandry {

namespace {

constexpr std::array<uint8_t, 512> kBuiltIn = [] {
    std::array<uint8_t, 512> t{};
    for (int i = 0; i < 512; ++i)
        t[i] = static_cast<uint8_t>(i < 256 ? i : 255);
    return t;
}();

} // namespace

const uint8_t* SaturationTable(const ImageHost* host)
{
    return host ? host->GetAddTable() : kBuiltIn.data();
}

} // namespace Tandry
