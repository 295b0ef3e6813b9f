#include "game/shell/Scenario.h"

#include "tests/game/shell/LevelTestSupport.h"
#include "tests/game/shell/ProfileFolderFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using ShellTest::LoggingController;
using Strings = std::vector<std::string>;

class ScenarioTest : public ShellTest::ProfileFolderFixture {
protected:
    void SetUp() override
    {
        ProfileFolderFixture::SetUp();
        ShellTest::ResetControllersAndScenario();
        Tandry::SetSceneService(&scenes);
        Tandry::SetSceneStarter([this](const std::string& name) { started.push_back(name); });
    }
    void TearDown() override
    {
        ShellTest::ResetControllersAndScenario();
        ProfileFolderFixture::TearDown();
    }

    static Tandry::Scenario& TheScenario() { return Tandry::GetScenario(); }
    std::string DebugText() { return platform->Debug().GetAll(); }

    ShellTest::RecordingSceneService scenes;
    Strings started;
};

TEST_F(ScenarioTest, ReloadGivesEachClusterSceneItsStateOnceThenLoadsPoolsThenLinks)
{
    struct Case {
        const char* hintSetting;
        bool hints;
    };
    for (const Case& c : {Case{"", false}, Case{"GenerateHintIds=0\n", false}, Case{"GenerateHintIds=1\n", true},
                          Case{"GenerateHintIds=2\n", false}}) {
        Tandry::ResetGameIni();
        SetGameIni(std::string("[Clusters]\na=s2,s1\nb=s1, ,s3\n[Game]\n") + c.hintSetting);
        scenes.calls.clear();
        TheScenario().Reload();
        Strings expected = {"state s1", "state s2", "state s3", "pools", "link s1", "link s2", "link s3"};
        if (c.hints)
            expected.insert(expected.end(), {"hints s1", "hints s2", "hints s3"});
        EXPECT_EQ(scenes.calls, expected) << c.hintSetting;
    }
}

TEST_F(ScenarioTest, ClusterScenesAreMergedInNameOrder)
{
    SetGameIni("[Clusters]\nb=zed,Alpha\na=alpha,,mid\n[Other]\nc=no\n");
    // The game ini reads its text in lower case.
    EXPECT_EQ(Tandry::CollectClusterScenes(), (std::set<std::string>{"alpha", "mid", "zed"}));
    Tandry::ResetGameIni();
    EXPECT_TRUE(Tandry::CollectClusterScenes().empty());
}

TEST_F(ScenarioTest, WithoutASceneServiceReloadOnlyClearsTheRecords)
{
    Tandry::SetSceneService(nullptr);
    SetGameIni("[Clusters]\na=s1\n[Game]\nGenerateHintIds=1\n");
    TheScenario().GetLevelInfo("s1");
    TheScenario().Reload();
    EXPECT_TRUE(TheScenario().Records().empty());
    EXPECT_TRUE(scenes.calls.empty());
}

TEST_F(ScenarioTest, RecordsAreReadOnceAndGoneAfterAProfileSwitch)
{
    Tandry::ProfileManager& store = Tandry::GetProfileManager();
    UseNewProfile(L"Bo");
    UseNewProfile(L"Ann");
    store.SetValue("Levels", "s1", "1,0.750");
    Tandry::GameControllerCommon& common = Tandry::GetGameControllerCommon();
    common.Load();
    Tandry::LevelInfo& record = TheScenario().GetLevelInfo("s1");
    EXPECT_TRUE(record.done);
    EXPECT_EQ(record.value, 0.75f);
    store.SetValue("Levels", "s1", "0,0");
    EXPECT_EQ(&TheScenario().GetLevelInfo("s1"), &record) << "read from the profile once";
    EXPECT_TRUE(record.done);
    record.value = 0.5f;

    // The profile screen's switch: save the old profile, drop every level, load the new one.
    common.Save();
    common.ResetLevels();
    store.SelectProfile(L"Bo");
    common.Load();
    EXPECT_TRUE(TheScenario().Records().empty());
    EXPECT_EQ(TheScenario().FindLevelInfo("s1"), nullptr);
    EXPECT_FALSE(TheScenario().GetLevelInfo("s1").done);

    store.SelectProfile(L"Ann");
    EXPECT_EQ(store.GetString("Levels", "s1"), "1,0.500") << "the old profile kept its record";
}

TEST_F(ScenarioTest, LevelMarkedDoneIsSavedAndItsNextStartReleasesTheCurrentLevel)
{
    UseNewProfile(L"Ann");
    LoggingController controller;
    controller.SetCurrentName("close_up");
    controller.GetCurrentLevel();
    Tandry::GameControllerCommon& common = Tandry::GetGameControllerCommon();

    TheScenario().Play("s1");
    EXPECT_EQ(started, Strings({"s1"}));
    EXPECT_NE(common.GetCurrentLevel(), nullptr) << "nothing pending: the current level stays";

    TheScenario().MarkLevelDone("s1");
    Tandry::LevelInfo* record = TheScenario().FindLevelInfo("s1");
    ASSERT_NE(record, nullptr);
    EXPECT_TRUE(record->done);
    EXPECT_TRUE(record->replayPending);
    Tandry::NarrowIniDocument saved = SavedProfile();
    EXPECT_EQ(ValueOf(saved, "Levels", "s1"), "1,0.000");

    TheScenario().StartLevel("s1");
    EXPECT_EQ(started, Strings({"s1", "s1"}));
    EXPECT_EQ(common.GetCurrentLevel(), nullptr);
    EXPECT_EQ(controller.CurrentOrNull(), nullptr);
    EXPECT_FALSE(record->replayPending);
}

TEST_F(ScenarioTest, PendingReplayWaitsForACurrentLevel)
{
    UseNewProfile(L"Ann");
    TheScenario().Play("s1");
    TheScenario().MarkLevelDone("s1");
    TheScenario().Play("s1");
    EXPECT_TRUE(TheScenario().FindLevelInfo("s1")->replayPending) << "no level was current to release";

    LoggingController controller;
    controller.SetCurrentName("x");
    controller.GetCurrentLevel();
    TheScenario().Play("s1");
    EXPECT_EQ(controller.CurrentOrNull(), nullptr);
    EXPECT_FALSE(TheScenario().FindLevelInfo("s1")->replayPending);
}

TEST_F(ScenarioTest, MarkingAnUnknownLevelOnlyLogs)
{
    UseNewProfile(L"Ann");
    TheScenario().MarkLevelDone("nowhere");
    EXPECT_NE(DebugText().find("\"nowhere\""), std::string::npos);
    EXPECT_TRUE(TheScenario().Records().empty());
    EXPECT_TRUE(started.empty());
    EXPECT_FALSE(Tandry::GetProfileManager().HasKey("Levels", "nowhere"));
    EXPECT_TRUE(TestSupport::NamesIn(data.Path() / "profiles").empty()) << "no file was written";
}

TEST_F(ScenarioTest, WithoutASceneStarterAStartOnlyLogs)
{
    Tandry::ResetSceneStarter();
    TheScenario().Play("s9");
    EXPECT_NE(DebugText().find("\"s9\""), std::string::npos);
    EXPECT_NE(TheScenario().FindLevelInfo("s9"), nullptr);
}

} // namespace
