// Clipping of a stretched blit: the destination rectangle cut to the clip
// rectangle, and the part of the source, in doubles, that maps onto what is
// left. Memory images and the surface routines of display images share it.
#pragma once

#include "graphics/types/DoubleRect.h"
#include "graphics/types/Rect.h"

namespace Tandry {

// False when nothing is left to draw: an empty clipped rectangle, or a source
// part without positive width and height.
bool ClipStretchRects(const Rect& destRect, const Rect& srcRect, const Rect& clipRect, Rect& clipped,
                      DoubleRect& srcF);
// The twin for mirrored drawing: the source's left edge maps onto the
// destination's right edge, so the x offset is measured from that edge.
bool ClipStretchRectsMirrored(const Rect& destRect, const Rect& srcRect, const Rect& clipRect, Rect& clipped,
                              DoubleRect& srcF);

} // namespace Tandry
