#include "app/SystemVersion.h"

#include "platform/Platform.h"

#include <atomic>

namespace Tandry {

namespace {

// 0 unknown, 1 false, 2 true.
std::atomic<int> gWindows9x{0};
std::atomic<int> gVistaOrLater{0};

bool Cached(std::atomic<int>& cache, bool (*ask)())
{
    int answer = cache.load();
    if (answer == 0) {
        answer = ask() ? 2 : 1;
        cache.store(answer);
    }
    return answer == 2;
}

} // namespace

bool IsWindows9x()
{
    return Cached(gWindows9x, [] { return !Platform::GetPlatform().GetProcess().IsWindowsNT(); });
}

bool IsVistaOrLater()
{
    return Cached(gVistaOrLater, [] { return Platform::GetPlatform().GetProcess().IsVistaOrLater(); });
}

void ResetSystemVersionCache()
{
    gWindows9x.store(0);
    gVistaOrLater.store(0);
}

} // namespace Tandry
