// Tells whether an image is the display's draw surface while the display
// draws through Direct3D. Drawing contexts note it at construction, and smooth
// transformed drawing onto that surface takes the matrix path.
#pragma once

namespace Tandry {

class Image;

bool IsImage3DScreen(const Image* image);

} // namespace Tandry
