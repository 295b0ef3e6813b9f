// Headless folders: a temporary folder per platform object, with "data" and
// "config" inside, removed when the platform goes away.
#pragma once

#include "platform/folders/Folders.h"

namespace Platform {

class HeadlessFolders : public Folders {
public:
    HeadlessFolders();
    ~HeadlessFolders() override;
    HeadlessFolders(const HeadlessFolders&) = delete;
    HeadlessFolders& operator=(const HeadlessFolders&) = delete;

    std::optional<std::string> GetAppDataFolder() override;
    std::optional<std::string> GetSettingsFolder() override;
    const std::string& GetRoot() const { return mRoot; }

private:
    std::string mRoot;
};

} // namespace Platform
