#include "graphics/ImageHost.h"

#include <atomic>

namespace Tandry {

namespace {

// Images are made on the loading thread too.
std::atomic<ImageHost*> gImageHost{nullptr};

} // namespace

ImageHost* GetGlobalImageHost()
{
    return gImageHost.load();
}

void SetGlobalImageHost(ImageHost* host)
{
    gImageHost.store(host);
}

} // namespace Tandry
