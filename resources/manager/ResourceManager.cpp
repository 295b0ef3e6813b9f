#include "resources/manager/ResourceManager.h"

namespace Tandry {

ResourceManager::ResourceManager()
{
    // TODO: the manifest, the resource groups and the lookup by id come with the resource manager.
}

std::string ResourceManager::GetErrorText() const
{
    return mError;
}

} // namespace Tandry
