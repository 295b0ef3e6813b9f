#include "widgets/WidgetHost.h"

#include "widgets/WidgetManager.h"

#include <atomic>

namespace Tandry {

namespace {

// Fonts load their pages on the loading thread while the main thread draws.
std::atomic<WidgetHost*> gWidgetHost{nullptr};

} // namespace

WidgetHost* GetWidgetHost()
{
    return gWidgetHost.load();
}

void SetWidgetHost(WidgetHost* host)
{
    gWidgetHost.store(host);
}

void ResetWidgetHost()
{
    gWidgetHost.store(nullptr);
}

WidgetHost* HostOf(const WidgetContainer* widget)
{
    if (widget != nullptr && widget->manager != nullptr && widget->manager->app != nullptr)
        return widget->manager->app;
    return GetWidgetHost();
}

} // namespace Tandry
