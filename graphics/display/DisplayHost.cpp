#include "graphics/display/DisplayHost.h"

#include "graphics/image/ImageHost.h"

namespace Tandry {

DisplayHost* GetDisplayHost()
{
    return dynamic_cast<DisplayHost*>(GetImageHost());
}

} // namespace Tandry
