// The mu-law expansion of the AU reader: a byte to one signed 16-bit sample.
#pragma once

#include <cstdint>

namespace Tandry {

// Bytes from 128 up are positive. The loudest code (0x80, 0x00) gives
// +-31616, on the line of its neighbours.
int16_t MuLawToLinear(uint8_t byte);

} // namespace Tandry
