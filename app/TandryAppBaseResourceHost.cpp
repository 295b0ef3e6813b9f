// The application as the resource manager's host.
#include "app/SystemVersion.h"
#include "app/TandryAppBase.h"

namespace Tandry {

SharedImageHandle TandryAppBase::AcquireResourceImage(const std::string& path, const std::string& variant,
                                                      bool* isNew)
{
    return AcquireSharedImage(path, variant, isNew);
}

SoundManager* TandryAppBase::GetResourceSoundManager()
{
    return mSoundManager;
}

bool TandryAppBase::IsResourceDisplay3D() const
{
    return IsDisplay3D();
}

bool TandryAppBase::IsResourceSystemWindows9x() const
{
    return IsWindows9x();
}

} // namespace Tandry
