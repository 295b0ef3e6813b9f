#include "platform/headless/HeadlessRegistry.h"

namespace Platform {

bool HeadlessRegistry::Persist(const RegistryStore&)
{
    ++mWriteCount;
    return true;
}

bool HeadlessRegistry::AllowSet()
{
    bool allow = !mFailNextSet;
    mFailNextSet = false;
    return allow;
}

} // namespace Platform
