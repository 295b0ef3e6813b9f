// The user's folders: the application-data folder ($XDG_DATA_HOME, by default
// ~/.local/share) that start-up extends with company and product, and the
// settings folder ($XDG_CONFIG_HOME, by default ~/.config) that holds the
// registry file. Either may be "none" (empty), and start-up then goes on
// without it. Paths have no trailing slash.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace Platform {

class Folders {
public:
    virtual ~Folders() = default;
    virtual std::optional<std::string> GetAppDataFolder() = 0;
    virtual std::optional<std::string> GetSettingsFolder() = 0;
};

// The XDG rule: the variable when it holds an absolute path, else $HOME plus
// the default suffix when HOME is absolute, else none. lookup returns null for
// an unset variable.
using EnvironmentLookup = std::function<const char*(const char*)>;
std::optional<std::string> ResolveXdgFolder(const EnvironmentLookup& lookup, const char* variable,
                                            const char* homeSuffix);

// The folders of the real environment.
class XdgFolders : public Folders {
public:
    std::optional<std::string> GetAppDataFolder() override;
    std::optional<std::string> GetSettingsFolder() override;
};

} // namespace Platform
