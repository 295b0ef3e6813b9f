// Headless folders: a temporary folder per platform object, with "data" and
// "config" inside, removed when the platform goes away; the system folder is
// whatever the test sets, none at first.
#pragma once

#include "platform/folders/Folders.h"

#include <utility>

namespace Platform {

class HeadlessFolders : public Folders {
public:
    HeadlessFolders();
    ~HeadlessFolders() override;
    HeadlessFolders(const HeadlessFolders&) = delete;
    HeadlessFolders& operator=(const HeadlessFolders&) = delete;

    std::optional<std::string> GetAppDataFolder() override;
    std::optional<std::string> GetSettingsFolder() override;
    std::optional<std::string> GetSystemFolder() override { return mSystemFolder; }
    void SetSystemFolder(std::optional<std::string> folder) { mSystemFolder = std::move(folder); }
    const std::string& GetRoot() const { return mRoot; }

private:
    std::string mRoot;
    std::optional<std::string> mSystemFolder;
};

} // namespace Platform
