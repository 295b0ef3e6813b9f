// The user's folders as the XDG rules give them: a variable counts only when
// it holds an absolute path, else $HOME with the default suffix, else none.
#pragma once

#include "platform/folders/Folders.h"

#include <functional>

namespace Platform {

// The XDG rule: the variable when it holds an absolute path, else $HOME plus
// the default suffix when HOME is absolute, else none. lookup returns null for
// an unset variable.
using EnvironmentLookup = std::function<const char*(const char*)>;
std::optional<std::string> ResolveXdgFolder(const EnvironmentLookup& lookup, const char* variable,
                                            const char* homeSuffix);

// The folders of the real environment. The system folder is the one the
// program file lies in: the program brings its own drivers.
class XdgFolders : public Folders {
public:
    std::optional<std::string> GetAppDataFolder() override;
    std::optional<std::string> GetSettingsFolder() override;
    std::optional<std::string> GetSystemFolder() override;
};

} // namespace Platform
