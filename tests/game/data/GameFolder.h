// What the tests of the sample game's data share: a copy of the built game
// folder in a scratch folder (the game rewrites its language table when a key
// is missing, so no test runs on the build tree), the packs added to the file
// layer, and small readers of whole files.
#pragma once

#include "platform/fs/FolderCache.h"
#include "resources/ini/LangTable.h"
#include "resources/pak/PakInterface.h"
#include "tests/platform/fs/ScratchFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace GameDataTest {

namespace fs = std::filesystem;

inline const fs::path& BuiltGameFolder()
{
    static const fs::path folder = MOORGLEN_GAME_FOLDER;
    return folder;
}

inline std::vector<uint8_t> ReadBytes(const fs::path& path)
{
    const std::string text = TestSupport::ReadFile(path);
    return {text.begin(), text.end()};
}

// The loose files below a folder, as paths relative to it with '/' between folders.
inline std::vector<std::string> FilesBelow(const fs::path& folder)
{
    std::vector<std::string> files;
    if (!fs::exists(folder))
        return files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
            files.push_back(fs::relative(entry.path(), folder).generic_string());
    std::sort(files.begin(), files.end());
    return files;
}

// A copy of the built game folder that the test runs in; the file layer and
// the language table start empty and are emptied again afterwards.
class GameFolderCopy {
public:
    GameFolderCopy()
    {
        fs::copy(BuiltGameFolder(), mScratch.Path(), fs::copy_options::recursive);
        mPrevious = fs::current_path();
        fs::current_path(mScratch.Path());
        Reset();
    }
    ~GameFolderCopy()
    {
        Reset();
        fs::current_path(mPrevious);
    }
    GameFolderCopy(const GameFolderCopy&) = delete;
    GameFolderCopy& operator=(const GameFolderCopy&) = delete;

    const fs::path& Path() const { return mScratch.Path(); }

    // Adds both packs, as the game does at start-up.
    static bool AddPacks()
    {
        return Tandry::GetSharedPakInterface()->AddPakFile("main.pak") &&
               Tandry::GetSharedPakInterface()->AddPakFile("game.dat");
    }

    // Leaves only the packs and the movies, as the packed game runs.
    void RemoveLooseFolders() const
    {
        for (const char* folder : {"data", "logo"})
            fs::remove_all(Path() / folder);
        for (const auto& entry : fs::directory_iterator(Path() / "res"))
            if (entry.path().filename() != "movies")
                fs::remove_all(entry.path());
        Platform::FolderCache::Reset();
    }

private:
    static void Reset()
    {
        Tandry::GetSharedPakInterface()->Reset();
        Tandry::ResetLangTableForTests();
        Platform::FolderCache::Reset();
    }

    TestSupport::ScratchFolder mScratch;
    fs::path mPrevious;
};

} // namespace GameDataTest
