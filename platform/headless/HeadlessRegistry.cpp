#include "platform/headless/HeadlessRegistry.h"

namespace Platform {

bool HeadlessRegistry::AllowSet()
{
    bool allow = !mFailNextSet;
    mFailNextSet = false;
    return allow;
}

} // namespace Platform
