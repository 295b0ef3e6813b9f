#include "platform/Platform.h"

#include <atomic>
#include <mutex>
#include <stdexcept>

namespace Platform {
namespace {

std::mutex gInstallLock;
std::unique_ptr<ServiceBundle> gOwned;
std::atomic<ServiceBundle*> gCurrent{nullptr};
std::atomic<FallbackPlatformFactory> gFallback{nullptr};

} // namespace

ServiceBundle::ServiceBundle(std::string company, std::string product)
    : mCompany(std::move(company))
    , mProduct(std::move(product))
{
}

ServiceBundle::~ServiceBundle()
{
    // The window service goes first: its windows may still send to the others.
    mServices.windows.reset();
    mServices.cursors.reset();
    mServices.dialogs.reset();
}

ServiceBundle& GetPlatform()
{
    if (ServiceBundle* current = gCurrent.load(std::memory_order_acquire))
        return *current;
    std::lock_guard<std::mutex> hold(gInstallLock);
    if (!gOwned) {
        const FallbackPlatformFactory fallback = gFallback.load(std::memory_order_acquire);
        if (fallback == nullptr)
            throw std::logic_error("no platform is installed: the program must install one before using a service");
        gOwned = fallback();
        if (!gOwned)
            throw std::logic_error("the fallback platform factory made no platform");
        gCurrent.store(gOwned.get(), std::memory_order_release);
    }
    return *gOwned;
}

ServiceBundle* TryGetPlatform()
{
    return gCurrent.load(std::memory_order_acquire);
}

void InstallPlatform(std::unique_ptr<ServiceBundle> platform)
{
    // The old platform's windows close while it is still the current one, so
    // that their procedures, which may ask GetPlatform, still reach it.
    if (ServiceBundle* old = TryGetPlatform())
        old->GetWindows().DestroyAllWindows();
    std::unique_ptr<ServiceBundle> previous;
    std::lock_guard<std::mutex> hold(gInstallLock);
    previous = std::move(gOwned);
    gOwned = std::move(platform);
    gCurrent.store(gOwned.get(), std::memory_order_release);
    // previous is destroyed here, after the lock is released and the new one is visible
}

void ResetPlatform()
{
    InstallPlatform(nullptr);
}

void SetFallbackPlatformFactory(FallbackPlatformFactory factory)
{
    gFallback.store(factory, std::memory_order_release);
}

} // namespace Platform
