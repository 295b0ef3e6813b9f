#include "resources/ini/ReadHex.h"

#include <cstdint>

namespace Tandry {

int ReadHex(const std::string& text)
{
    // Unsigned, so that the shifts past 32 bits are defined.
    uint32_t value = 0;
    for (const char c : text) {
        value <<= 4;
        if (c >= '0' && c <= '9')
            value += uint32_t(c - '0');
        else if (c >= 'a' && c <= 'f')
            value += uint32_t(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            value += uint32_t(c - 'A' + 10);
    }
    return int(value);
}

} // namespace Tandry
