#include "platform/folders/XdgFolders.h"

#include "platform/headless/HeadlessPlatform.h"

#include <gtest/gtest.h>

#include <map>

using namespace Platform;

namespace {

TEST(XdgFolders, XdgRulesForDataAndSettings)
{
    struct Case {
        std::map<std::string, std::string> environment;
        std::optional<std::string> data;
        std::optional<std::string> settings;
    };
    const Case cases[] = {
        {{{"XDG_DATA_HOME", "/x"}, {"HOME", "/home/u"}}, "/x", "/home/u/.config"},
        {{{"HOME", "/home/u"}}, "/home/u/.local/share", "/home/u/.config"},
        {{{"XDG_DATA_HOME", "rel"}, {"XDG_CONFIG_HOME", "rel"}, {"HOME", "/home/u"}}, "/home/u/.local/share",
         "/home/u/.config"},
        {{{"XDG_DATA_HOME", ""}, {"XDG_CONFIG_HOME", "/c/"}, {"HOME", "/home/u/"}}, "/home/u/.local/share", "/c"},
        {{{"HOME", "/"}}, "/.local/share", "/.config"},
        {{}, std::nullopt, std::nullopt},
        {{{"HOME", "relative"}}, std::nullopt, std::nullopt},
        {{{"XDG_CONFIG_HOME", "/only/config"}}, std::nullopt, "/only/config"},
    };
    for (const Case& c : cases) {
        auto lookup = [&](const char* name) -> const char* {
            auto found = c.environment.find(name);
            return found == c.environment.end() ? nullptr : found->second.c_str();
        };
        EXPECT_EQ(ResolveXdgFolder(lookup, "XDG_DATA_HOME", ".local/share"), c.data);
        EXPECT_EQ(ResolveXdgFolder(lookup, "XDG_CONFIG_HOME", ".config"), c.settings);
    }
}

} // namespace

namespace {

TEST(XdgFolders, TheSystemFolderIsTheProgramFilesFolder)
{
    HeadlessPlatform& platform = InstallHeadlessPlatform();
    XdgFolders folders;
    const struct {
        const char* program;
        std::optional<std::string> folder;
    } cases[] = {
        {"/opt/moorglen/moorglen", "/opt/moorglen"},
        {"/moorglen", "/"},
        {"", std::nullopt},
    };
    for (const auto& c : cases) {
        platform.Process().SetProgramPath(c.program);
        EXPECT_EQ(folders.GetSystemFolder(), c.folder) << c.program;
    }
    ResetPlatform();
}

} // namespace
