#include "graphics/image/ImageHost.h"

#include <atomic>

namespace Tandry {

namespace {

std::atomic<ImageHost*> gImageHost{nullptr};

} // namespace

ImageHost* GetImageHost()
{
    return gImageHost.load();
}

void SetImageHost(ImageHost* host)
{
    gImageHost.store(host);
}

} // namespace Tandry
