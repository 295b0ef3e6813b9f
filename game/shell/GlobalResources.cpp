#include "game/shell/GlobalResources.h"

namespace Tandry {

Image* IMAGE_DARK_BACK = nullptr;

void ResetGlobalResources()
{
    IMAGE_DARK_BACK = nullptr;
}

} // namespace Tandry
