// The Windows-1252 character table, both ways, for the code-page conversions.
// Bytes below 0x80 are ASCII and not looked up here.
#pragma once

#include <cstdint>

namespace Platform {

// The UTF-16 unit of a byte 0x80..0xFF.
uint16_t Windows1252HighToUnit(uint8_t byte);

// The byte 0x80..0xFF that holds a unit, or -1 when Windows-1252 has none.
int Windows1252UnitToHigh(uint32_t unit);

} // namespace Platform
