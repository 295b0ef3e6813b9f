#include "platform/headless/HeadlessCursors.h"

namespace Platform {

HeadlessCursors::~HeadlessCursors()
{
    DestroyAllNative();
}

} // namespace Platform
