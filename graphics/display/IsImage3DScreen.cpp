#include "graphics/display/IsImage3DScreen.h"

#include "graphics/display/DDImage.h"

namespace Tandry {

bool IsImage3DScreen(const Image* image)
{
    const auto* surfaceImage = dynamic_cast<const DDImage*>(image);
    return surfaceImage != nullptr && surfaceImage->Is3DScreen();
}

} // namespace Tandry
