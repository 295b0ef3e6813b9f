#include "platform/PlatformBootstrap.h"

#include "platform/Platform.h"

#include <cstring>

namespace Platform {

std::unique_ptr<ServiceBundle> CreatePlatform(std::span<const PlatformBootstrap* const> table, const char* hint,
                                         const PlatformConfig& config, std::string& error)
{
    bool hinted = hint != nullptr && hint[0] != '\0';
    for (const PlatformBootstrap* entry : table) {
        if (hinted && std::strcmp(entry->name, hint) != 0)
            continue;
        std::unique_ptr<ServiceBundle> platform = entry->create(config);
        if (!platform)
            error = std::string("the ") + entry->name + " back end cannot start here";
        return platform;
    }
    std::string names;
    for (const PlatformBootstrap* entry : table)
        names += std::string(names.empty() ? "" : ", ") + entry->name;
    error = hinted ? std::string("no back end named \"") + hint + "\" (known: " + names + ")"
                   : std::string("no back end was built in");
    return nullptr;
}

} // namespace Platform
