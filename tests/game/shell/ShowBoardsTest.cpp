// The switches to the standard screens: each board comes from its maker in
// the registry and is switched to; a kind without maker changes nothing and
// says so; the main menu opens the profiles exactly when the current profile
// does not load; the scenario's scene starter reaches the quest scene maker.
#include "game/shell/GameAppFixture.h"
#include "game/shell/ProfileManager.h"
#include "game/shell/RegisterBoards.h"
#include "game/shell/SceneStarter.h"
#include "game/shell/ShowBoards.h"
#include "platform/debug/DebugOutput.h"
#include "platform/fs/ScratchFolder.h"
#include "util/StringUtils.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

using ShellTest::FakeBoard;
using ::testing::ElementsAre;

class ShowBoardsTest : public ShellTest::GameAppFixture {
protected:
    void SetUp() override
    {
        GameAppFixture::SetUp();
        Tandry::BoardRegistry& registry = Tandry::GetBoardRegistry();
        registry.titleScreen = [this] { return Made("title"); };
        registry.mainMenu = [this](bool openProfiles) {
            return Made(openProfiles ? "menu with profiles" : "menu");
        };
        registry.credits = [this] { return Made("credits"); };
        registry.questScene = [this](const std::string& scene) { return Made("scene " + scene); };
    }
    void TearDown() override
    {
        Tandry::ShutdownProfileManager();
        Tandry::ResetGameFolders();
        GameAppFixture::TearDown();
    }

    FakeBoard* Made(const std::string& name)
    {
        made.push_back(name);
        return new FakeBoard(name, calls);
    }
    std::string Current() { return static_cast<FakeBoard*>(app->mCurrentBoard)->name; }
    // Switches finish; the old boards are gone.
    void Settle()
    {
        RunUpdate();
        calls.Take();
    }

    std::vector<std::string> made;
};

TEST_F(ShowBoardsTest, EachScreenComesFromItsMakerAndIsSwitchedTo)
{
    const std::vector<std::pair<std::function<void()>, std::string>> shows = {
        {[this] { Tandry::ShowTitleScreen(app.get()); }, "title"},
        {[] { Tandry::ShowMainMenu(); }, "menu"},
        {[] { Tandry::ShowCredits(); }, "credits"},
        {[] { Tandry::ShowQuestScene("hall"); }, "scene hall"},
    };
    for (const auto& [show, name] : shows) {
        SCOPED_TRACE(name);
        show();
        Settle();
        EXPECT_EQ(Current(), name);
    }
    EXPECT_THAT(made, ElementsAre("title", "menu", "credits", "scene hall"));
}

TEST_F(ShowBoardsTest, AKindWithoutMakerSwitchesNothingAndSaysSo)
{
    Tandry::ShowTitleScreen(app.get());
    Settle();
    Tandry::ResetBoardRegistry();
    std::string debug;
    Platform::SetDebugSink([&](const std::string& text) { debug += text; });

    Tandry::ShowCredits();
    Tandry::ShowMainMenu();

    Platform::SetDebugSink(nullptr);
    EXPECT_EQ(app->mTransformer, nullptr);
    EXPECT_EQ(Current(), "title");
    EXPECT_NE(debug.find("credits"), std::string::npos);
    EXPECT_NE(debug.find("main menu"), std::string::npos);
}

TEST_F(ShowBoardsTest, TheMenuOpensTheProfilesExactlyWhenTheProfileDoesNotLoad)
{
    TestSupport::ScratchFolder data;
    Tandry::gGameDataDir = Tandry::WidenString(data.Path().string());
    Tandry::gProfilesDir = Tandry::gGameDataDir + L"\\profiles\\";
    std::filesystem::create_directories(data.Path() / "profiles");

    Tandry::ShowMainMenuOrProfiles();
    Settle();
    EXPECT_EQ(Current(), "menu with profiles");

    Tandry::ProfileManager& store = Tandry::GetProfileManager();
    ASSERT_TRUE(store.CreateProfile(L"Wren"));
    store.SelectProfile(L"Wren");
    Tandry::ShowMainMenuOrProfiles();
    Settle();
    EXPECT_EQ(Current(), "menu");
    Tandry::ShutdownProfileManager();
}

TEST_F(ShowBoardsTest, TheScenarioStartsQuestScenesThroughTheRegistry)
{
    Tandry::RegisterBoards();
    Tandry::StartScene("cellar");
    EXPECT_THAT(made, ElementsAre("scene cellar"));
    EXPECT_EQ(Current(), "scene cellar");
}

} // namespace
