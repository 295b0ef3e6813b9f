#include "graphics/IsImage3DScreen.h"

namespace Tandry {

// No image is a 3D draw surface until the display's surface images exist.
bool IsImage3DScreen(const Image*)
{
    return false;
}

} // namespace Tandry
