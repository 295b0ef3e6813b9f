// The hit rule of the game's picture widgets: a point hits where the picture
// has a pixel that is not fully transparent (its ARGB word above 0x00FFFFFF).
#pragma once

#include <cstdint>

namespace Tandry {

class MemoryImage;

// False outside the picture; wide coordinates so that callers may subtract
// offsets without overflow.
bool PictureHitAt(MemoryImage* picture, int64_t x, int64_t y);

} // namespace Tandry
