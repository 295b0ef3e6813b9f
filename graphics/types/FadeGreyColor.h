// The colour that fades a picture in from grey: at x = 0 a dark grey that is
// fully transparent, at x = 1 opaque white, so multiplying by it both darkens
// and fades. The in-game menu's pop-in and the particle widgets' tint use it.
#pragma once

#include "graphics/types/Color.h"

namespace Tandry {

// Grey 100 + 155 x and alpha 255 x, each truncated and limited to 0..255;
// not a number counts as 0.
Color FadeGreyColor(float x);

} // namespace Tandry
