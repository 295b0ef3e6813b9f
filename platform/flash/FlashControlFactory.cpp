#include "platform/flash/FlashControlFactory.h"

#include "platform/flash/MovieFileControl.h"

#include <mutex>

namespace Platform {
namespace {

std::mutex gFactoryLock;
FlashControlFactory gFactory;

} // namespace

std::unique_ptr<FlashControl> CreateFlashControl()
{
    FlashControlFactory factory;
    {
        std::lock_guard hold(gFactoryLock);
        factory = gFactory;
    }
    if (!factory)
        return std::make_unique<MovieFileControl>();
    return factory();
}

void SetFlashControlFactory(FlashControlFactory factory)
{
    std::lock_guard hold(gFactoryLock);
    gFactory = std::move(factory);
}

void ResetFlashControlFactory()
{
    SetFlashControlFactory(nullptr);
}

} // namespace Platform
