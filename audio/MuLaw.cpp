#include "audio/MuLaw.h"

namespace Tandry {

int16_t MuLawToLinear(uint8_t byte)
{
    const int sign = byte >= 128 ? 1 : -1;
    const int c = byte | 0x80;
    int m;
    if (c >= 240)
        m = (255 - c) * 2;
    else if (c >= 224)
        m = (247 - c) * 4;
    else if (c >= 208)
        m = (235 - c) * 8;
    else if (c >= 192)
        m = (221 - c) * 16;
    else if (c >= 176)
        m = (206 - c) * 32;
    else if (c >= 160)
        m = 12192 - c * 64;
    else if (c >= 144)
        m = 22368 - c * 128;
    else
        m = 40672 - c * 256;
    return static_cast<int16_t>(m * sign * 4);
}

} // namespace Tandry
