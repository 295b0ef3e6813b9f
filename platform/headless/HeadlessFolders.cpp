#include "platform/headless/HeadlessFolders.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace Platform {

HeadlessFolders::HeadlessFolders()
{
    std::error_code ec;
    std::string pattern = (std::filesystem::temp_directory_path(ec) / "moorglen-headless-XXXXXX").string();
    if (ec)
        pattern = "/tmp/moorglen-headless-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot create a temporary folder for the headless platform");
    mRoot = pattern;
    std::filesystem::create_directories(mRoot + "/data", ec);
    std::filesystem::create_directories(mRoot + "/config", ec);
}

HeadlessFolders::~HeadlessFolders()
{
    std::error_code ec;
    std::filesystem::remove_all(mRoot, ec);
}

std::optional<std::string> HeadlessFolders::GetAppDataFolder()
{
    return mRoot + "/data";
}

std::optional<std::string> HeadlessFolders::GetSettingsFolder()
{
    return mRoot + "/config";
}

} // namespace Platform
