// A fresh temporary folder for one test, removed with everything in it at the
// end. With Enter the test runs inside it (relative paths resolve there) and
// the previous current folder comes back afterwards. Also small helpers to
// write and read whole files in tests.
#pragma once

#include "platform/fs/FolderCache.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace TestSupport {

class ScratchFolder {
public:
    enum Mode { Stay, Enter };

    explicit ScratchFolder(Mode mode = Stay)
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "moorglen-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            ADD_FAILURE() << "cannot create a scratch folder";
        mPath = pattern;
        if (mode == Enter) {
            mPrevious = std::filesystem::current_path();
            std::filesystem::current_path(mPath);
        }
        Platform::FolderCache::Reset();
    }

    ~ScratchFolder()
    {
        if (!mPrevious.empty())
            std::filesystem::current_path(mPrevious);
        std::error_code ignored;
        std::filesystem::remove_all(mPath, ignored);
        Platform::FolderCache::Reset();
    }

    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& Path() const { return mPath; }
    std::string operator/(const std::string& relative) const { return (mPath / relative).string(); }

private:
    std::filesystem::path mPath;
    std::filesystem::path mPrevious;
};

// Writes bytes to path, creating the folders on the way.
inline void WriteFile(const std::filesystem::path& path, const std::string& bytes)
{
    if (path.has_parent_path())
        std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The names in a folder, sorted.
inline std::vector<std::string> NamesIn(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace TestSupport
