// The game meets a missing or damaged file of its data as it is meant to: a
// resource error that names what failed, or the documented fallback, and
// never a crash. Each case damages one file of a copy of the game folder
// (the packs are taken away, so the loose file is the one read) and runs the
// start-up's reading of it.
#include "tests/game/data/GameFolder.h"
#include "tests/game/data/StartedGame.h"

#include "resources/ini/IniFile.h"
#include "resources/ini/LangTable.h"

#include <functional>

namespace {

using namespace GameDataTest;

void Truncate(const fs::path& path, size_t keep)
{
    const std::string text = TestSupport::ReadFile(path);
    TestSupport::WriteFile(path, text.substr(0, std::min(keep, text.size())));
}

struct ResourceCase {
    const char* what;
    std::function<void(const fs::path&)> damage;
    const char* failedStep;  // the start of the error
    const char* named;       // what the error names
};

TEST(GameDataBadInput, ADamagedResourceFileGivesAResourceErrorNamingIt)
{
    const ResourceCase kCases[] = {
        {"no manifest", [](const fs::path& g) { fs::remove(g / "data/properties/resources.xml"); }, "manifest:",
         "resources.xml"},
        {"a manifest cut short", [](const fs::path& g) { Truncate(g / "data/properties/resources.xml", 400); },
         "manifest:", ""},
        {"no font description", [](const fs::path& g) { fs::remove(g / "data/fonts/head.fnt"); }, "Common:",
         "head"},
        {"a font description that is not one",
         [](const fs::path& g) { TestSupport::WriteFile(g / "data/fonts/text.fnt", "not a font\n"); }, "Common:",
         "text"},
        {"no picture of a bound id", [](const fs::path& g) { fs::remove(g / "data/images/dark_back.png"); },
         "Common:", "dark_back"},
        {"a picture that is no picture",
         [](const fs::path& g) { Truncate(g / "data/images/cursor_arrow.png", 40); }, "Common:", "cursor_arrow"},
        {"no picture of the group Game", [](const fs::path& g) { fs::remove(g / "data/images/fast.png"); },
         "Game:", "fast"},
    };
    for (const ResourceCase& c : kCases) {
        SCOPED_TRACE(c.what);
        GameFolderCopy folder;
        fs::remove(folder.Path() / "main.pak");
        fs::remove(folder.Path() / "game.dat");
        c.damage(folder.Path());
        StartedGame started;
        std::string error;
        EXPECT_FALSE(started.LoadResources(error));
        EXPECT_EQ(error.rfind(c.failedStep, 0), 0u) << error;
        EXPECT_NE(error.find(c.named), std::string::npos) << error;
    }
}

// Without its "layers.ini" a layout is empty; without the language table
// every text is the placeholder and the table is written again with the key
// asked for; a damaged main pack is not added, and the settings it held then
// give their defaults.
TEST(GameDataBadInput, MissingSettingsTextsAndLayoutsFallBack)
{
    {
        SCOPED_TRACE("no layout file");
        GameFolderCopy folder;
        folder.RemoveLooseFolders();
        fs::remove(folder.Path() / "game.dat");
        StartedGame started;
        Tandry::IniFile layout;
        layout.Load("data/gui/options//layers.ini");
        std::vector<std::string> entries;
        layout.GetKeyNames("", entries);
        EXPECT_TRUE(entries.empty());
    }
    {
        SCOPED_TRACE("no language table");
        GameFolderCopy folder;
        fs::remove(folder.Path() / "main.pak");
        fs::remove(folder.Path() / "res/lang.ini");
        StartedGame started;
        EXPECT_EQ(Tandry::GetLangString("Skip", Tandry::GetLangTable(), L"Interface"), L"???");
        const std::string written = TestSupport::ReadFile(folder.Path() / "res/lang.ini");
        EXPECT_NE(written.find(std::string("S\0k\0i\0p\0", 8)), std::string::npos)
            << "the missing key is written for the translators";
    }
    {
        SCOPED_TRACE("a language table cut in the middle of a character");
        GameFolderCopy folder;
        fs::remove(folder.Path() / "main.pak");
        Truncate(folder.Path() / "res/lang.ini", 301);
        StartedGame started;
        EXPECT_EQ(Tandry::GetLangString("WindowCaption", Tandry::GetLangTable(), L"Interface"),
                  L"Moorglen: Cinderlock");
        EXPECT_EQ(Tandry::GetLangString("Click", Tandry::GetLangTable(), L"Credits"), L"???");
    }
    {
        SCOPED_TRACE("a damaged main pack");
        GameFolderCopy folder;
        folder.RemoveLooseFolders();
        Truncate(folder.Path() / "main.pak", 3);
        StartedGame started;
        EXPECT_FALSE(Tandry::GetSharedPakInterface()->AddPakFile("main.pak"));
        Tandry::IniFile settings;
        settings.Load("res\\game.ini");
        EXPECT_EQ(settings.GetString("hinttime", "game", "120"), "120");
        std::string error;
        EXPECT_TRUE(started.LoadResources(error)) << "game.dat still holds the resources: " << error;
    }
}

} // namespace
