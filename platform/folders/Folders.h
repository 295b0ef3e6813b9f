// The user's folders: the application-data folder ($XDG_DATA_HOME, by default
// ~/.local/share) that start-up extends with company and product, and the
// settings folder ($XDG_CONFIG_HOME, by default ~/.config) that holds the
// registry file, and the system folder where a bare driver file name is looked
// up. Each may be "none" (empty), and its user then goes on without it. Paths
// have no trailing slash.
#pragma once

#include <optional>
#include <string>

namespace Platform {

class Folders {
public:
    virtual ~Folders() = default;
    virtual std::optional<std::string> GetAppDataFolder() = 0;
    virtual std::optional<std::string> GetSettingsFolder() = 0;
    virtual std::optional<std::string> GetSystemFolder() = 0;
};

} // namespace Platform
