// Draws a rectangle of an image as a nine-part box into a destination: the
// corners (sizes given) once, the edge strips and the centre repeated between
// them. Dialogs draw their box image with it.
#pragma once

#include "graphics/types/Rect.h"
#include "widgets/Insets.h"

namespace Tandry {

class Graphics;
class Image;

// A strip whose size is not above 0 (the corners take the whole source) is
// not drawn.
void DrawComponentBox(Graphics* g, const Rect& source, const Rect& dest, Image* image, const Insets& corners);

} // namespace Tandry
