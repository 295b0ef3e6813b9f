#include "graphics/DisplayHost.h"

#include "graphics/ImageHost.h"

namespace Tandry {

DisplayHost* GetDisplayHost()
{
    return dynamic_cast<DisplayHost*>(GetImageHost());
}

} // namespace Tandry
