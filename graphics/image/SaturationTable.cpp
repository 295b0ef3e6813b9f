#include "graphics/image/SaturationTable.h"

#include <array>
#include <cstring>

#include "graphics/image/ImageHost.h"

namespace Tandry {

namespace {

constexpr std::array<uint8_t, 512> kBuiltIn = [] {
    std::array<uint8_t, 512> t{};
    for (int i = 0; i < 512; ++i)
        t[i] = static_cast<uint8_t>(i < 256 ? i : 255);
    return t;
}();

} // namespace

Saturation SaturationOf(const ImageHost* host)
{
    const uint8_t* table = host ? host->GetAddTable() : kBuiltIn.data();
    return {table, table == kBuiltIn.data() || std::memcmp(table, kBuiltIn.data(), kBuiltIn.size()) == 0};
}

} // namespace Tandry
