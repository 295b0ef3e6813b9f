#include "app/UserDataDir.h"

#include "app/SystemVersion.h"

#include <mutex>

namespace Tandry {

namespace {

std::mutex gLock;
std::wstring gUserDataDir;

} // namespace

std::wstring GetUserDataDir()
{
    std::lock_guard<std::mutex> lock(gLock);
    return gUserDataDir;
}

void SetUserDataDir(const std::wstring& path)
{
    if (!IsVistaOrLater())
        return;
    std::lock_guard<std::mutex> lock(gLock);
    gUserDataDir = path;
    if (gUserDataDir.empty() || (gUserDataDir.back() != L'\\' && gUserDataDir.back() != L'/'))
        gUserDataDir += L'\\';
}

void ResetUserDataDir()
{
    std::lock_guard<std::mutex> lock(gLock);
    gUserDataDir.clear();
}

} // namespace Tandry
