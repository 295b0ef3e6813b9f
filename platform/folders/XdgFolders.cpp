#include "platform/folders/XdgFolders.h"

#include "platform/Platform.h"

#include <cstdlib>

namespace Platform {
namespace {

std::optional<std::string> AbsoluteWithoutTrailingSlash(const char* value)
{
    if (value == nullptr || value[0] != '/')
        return std::nullopt; // unset, empty and relative values are ignored
    std::string path = value;
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

const char* RealEnvironment(const char* name)
{
    return std::getenv(name);
}

} // namespace

std::optional<std::string> ResolveXdgFolder(const EnvironmentLookup& lookup, const char* variable,
                                            const char* homeSuffix)
{
    if (auto direct = AbsoluteWithoutTrailingSlash(lookup(variable)))
        return direct;
    auto home = AbsoluteWithoutTrailingSlash(lookup("HOME"));
    if (!home)
        return std::nullopt;
    if (*home == "/")
        home->clear();
    return *home + "/" + homeSuffix;
}

std::optional<std::string> XdgFolders::GetAppDataFolder()
{
    return ResolveXdgFolder(RealEnvironment, "XDG_DATA_HOME", ".local/share");
}

std::optional<std::string> XdgFolders::GetSettingsFolder()
{
    return ResolveXdgFolder(RealEnvironment, "XDG_CONFIG_HOME", ".config");
}

std::optional<std::string> XdgFolders::GetSystemFolder()
{
    const std::string program = GetPlatform().GetProcess().GetModuleFileName();
    const size_t slash = program.rfind('/');
    if (slash == std::string::npos)
        return std::nullopt;
    return slash == 0 ? std::string("/") : program.substr(0, slash);
}

} // namespace Platform
