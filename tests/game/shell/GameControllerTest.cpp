#include "game/shell/GameControllerDer.h"

#include "tests/game/shell/LevelTestSupport.h"
#include "tests/game/shell/ProfileFolderFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using ShellTest::LevelLog;
using ShellTest::LoggingController;
using ShellTest::LoggingLevel;
using Strings = std::vector<std::string>;

class GameControllerTest : public ShellTest::ProfileFolderFixture {
protected:
    void SetUp() override
    {
        ProfileFolderFixture::SetUp();
        ShellTest::ResetControllersAndScenario();
    }
    void TearDown() override
    {
        ShellTest::ResetControllersAndScenario();
        ProfileFolderFixture::TearDown();
    }

    static Tandry::GameControllerCommon& Common() { return Tandry::GetGameControllerCommon(); }
};

// Says when its release call and its clear-all call reach it.
class RecordingController : public LoggingController {
public:
    explicit RecordingController(std::string id) : mId(std::move(id)) {}
    void ForgetCurrent() override
    {
        LevelLog().push_back("forget " + mId);
        LoggingController::ForgetCurrent();
    }
    void ClearAll() override
    {
        LevelLog().push_back("clear " + mId);
        LoggingController::ClearAll();
    }

private:
    std::string mId;
};

TEST_F(GameControllerTest, CurrentLevelIsLoadedOnceAndFollowsTheName)
{
    LoggingController controller;
    controller.SetCurrentName("a");
    LoggingLevel* first = controller.GetCurrentLevel();
    EXPECT_EQ(controller.GetCurrentLevel(), first);
    EXPECT_EQ(LevelLog(), Strings({"load a"}));
    EXPECT_EQ(Common().GetCurrentLevel(), first);

    controller.SetCurrentName("b");
    LoggingLevel* second = controller.GetCurrentLevel();
    ASSERT_NE(second, first);
    EXPECT_EQ(second->name, "b");
    EXPECT_EQ(Common().GetCurrentLevel(), second);
    EXPECT_EQ(LevelLog(), Strings({"load a", "load b"})) << "the released level stays loaded";
    EXPECT_EQ(controller.Levels().size(), 2u);

    controller.SetCurrentName("a");
    EXPECT_EQ(controller.GetCurrentLevel(), first);
    EXPECT_EQ(LevelLog().size(), 2u);
}

TEST_F(GameControllerTest, OnlyOneControllerHasACurrentLevel)
{
    RecordingController quest("quest");
    RecordingController hog("hog");
    quest.SetCurrentName("scene");
    quest.GetCurrentLevel();
    hog.SetCurrentName("level");
    LoggingLevel* level = hog.GetCurrentLevel();
    EXPECT_EQ(quest.CurrentOrNull(), nullptr);
    EXPECT_EQ(hog.CurrentOrNull(), level);
    EXPECT_EQ(Common().GetCurrentLevel(), level);
    EXPECT_EQ(LevelLog(), Strings({"load scene", "forget quest", "load level"}));

    Common().ReleaseCurrent();
    EXPECT_EQ(hog.CurrentOrNull(), nullptr);
    EXPECT_EQ(Common().GetCurrentLevel(), nullptr);
    Common().ReleaseCurrent();  // nothing left to release
    EXPECT_EQ(LevelLog().back(), "forget hog");
}

TEST_F(GameControllerTest, ClearAllSavesEveryLevelInNameOrderThenDeletesThem)
{
    UseNewProfile(L"Ann");
    LoggingController controller;
    for (const char* name : {"c", "a", "b"})
        controller.GetOrLoadLevel(name);
    controller.SetCurrentName("b");
    controller.GetCurrentLevel();
    LevelLog().clear();
    controller.ClearAll();
    EXPECT_EQ(LevelLog(), Strings({"save a", "save b", "save c", "delete a", "delete b", "delete c"}));
    EXPECT_TRUE(controller.Levels().empty());
    EXPECT_EQ(Common().GetCurrentLevel(), nullptr);
    EXPECT_EQ(Tandry::GetProfileManager().GetString("State", "c"), "saved");
}

TEST_F(GameControllerTest, StoreAllSavesOnlyWhileTheControllerHasACurrentLevel)
{
    LoggingController controller;
    LoggingController other;
    controller.GetOrLoadLevel("b");
    controller.GetOrLoadLevel("a");
    LevelLog().clear();
    controller.StoreAll();
    EXPECT_TRUE(LevelLog().empty());

    controller.SetCurrentName("b");
    controller.GetCurrentLevel();
    controller.StoreAll();
    EXPECT_EQ(LevelLog(), Strings({"save a", "save b"}));

    other.SetCurrentName("x");
    other.GetCurrentLevel();
    LevelLog().clear();
    controller.StoreAll();
    EXPECT_TRUE(LevelLog().empty());
}

TEST_F(GameControllerTest, ResetLevelsReleasesClearsInRegistrationOrderThenSavesTheProfile)
{
    UseNewProfile(L"Ann");
    RecordingController early("early");
    RecordingController late("late");
    late.GetOrLoadLevel("f");
    early.SetCurrentName("s");
    early.GetCurrentLevel();
    LevelLog().clear();

    Common().ResetLevels();
    EXPECT_EQ(LevelLog(), Strings({"forget early", "clear early", "save s", "delete s", "clear late", "save f", "delete f"}));
    // The levels' states reached the file: the profile was saved after the clears.
    Tandry::NarrowIniDocument saved = SavedProfile();
    EXPECT_EQ(ValueOf(saved, "State", "s"), "saved");
    EXPECT_EQ(ValueOf(saved, "State", "f"), "saved");
    EXPECT_EQ(ValueOf(saved, "Main", "IsShowTutorial"), "1");
}

TEST_F(GameControllerTest, ResetLevelsWithoutAProfileWritesNothing)
{
    RecordingController controller("1");
    controller.GetOrLoadLevel("a");
    Common().ResetLevels();
    EXPECT_EQ(LevelLog(), Strings({"load a", "clear 1", "save a", "delete a"}));
    Tandry::ShutdownProfileManager();
    EXPECT_TRUE(TestSupport::NamesIn(data.Path() / "profiles").empty());
}

TEST_F(GameControllerTest, DestroyedControllerLeavesNoCallBehind)
{
    {
        RecordingController shortLived("gone");
        shortLived.SetCurrentName("t");
        shortLived.GetCurrentLevel();
    }
    EXPECT_EQ(Common().GetCurrentLevel(), nullptr);
    LevelLog().clear();
    RecordingController kept("kept");
    kept.SetCurrentName("k");
    // Both release through the common part and walk the clear-all list.
    kept.GetCurrentLevel();
    Common().ResetLevels();
    EXPECT_EQ(LevelLog(), Strings({"load k", "forget kept", "clear kept", "save k", "delete k"}));
}

TEST_F(GameControllerTest, CommonPartOwnsThePlayerDataAndLoadsAndSavesTheGame)
{
    UseNewProfile(L"Ann");
    Tandry::GetProfileManager().SetValue("Main", "CurTutor", "5");
    Tandry::GetProfileManager().SetValue("Levels", "s1", "1,0.500");
    EXPECT_EQ(Common().GetPlayerData(), &Common().GetPlayerInfo());
    Common().Load();
    EXPECT_EQ(Common().GetPlayerInfo().currentTutorial, 5);

    Tandry::GetScenario().GetLevelInfo("s2").done = true;
    Common().GetPlayerInfo().progress = 0.5f;
    Common().Save();
    Tandry::NarrowIniDocument saved = SavedProfile();
    EXPECT_EQ(ValueOf(saved, "Levels", "s2"), "1,0.000");
    EXPECT_EQ(ValueOf(saved, "Levels", "s1"), "1,0.500");
    EXPECT_EQ(ValueOf(saved, "Main", "Progress"), "0.5");
}

} // namespace
