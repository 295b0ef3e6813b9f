#include "game/shell/PlayerInfo.h"

#include "tests/game/shell/ProfileFolderFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Tandry::GetProfileManager;
using Tandry::PlayerInfo;

class PlayerInfoTest : public ShellTest::ProfileFolderFixture {};

TEST_F(PlayerInfoTest, NewProfileLoadsStartValuesAndSavesThem)
{
    UseNewProfile(L"Ann");
    PlayerInfo info;
    info.progress = 0.7f;
    info.showTutorial = false;
    info.currentTutorial = 9;
    info.notebooks["old"];
    info.Load();
    EXPECT_EQ(info.progress, 0.0f);
    EXPECT_TRUE(info.showTutorial);
    EXPECT_EQ(info.currentTutorial, 0);
    EXPECT_FALSE(info.gameComplete);
    EXPECT_TRUE(info.notebooks.empty());

    info.Save();
    GetProfileManager().SaveCurrentProfile();
    Tandry::NarrowIniDocument saved = SavedProfile();
    EXPECT_EQ(ValueOf(saved, "Main", "IsShowTutorial"), "1");
    EXPECT_EQ(ValueOf(saved, "Main", "IsGameComplete"), "0");
    EXPECT_EQ(ValueOf(saved, "Main", "CurTutor"), "0");
    EXPECT_EQ(ValueOf(saved, "Main", "Progress"), "0");
    EXPECT_EQ(ValueOf(saved, "Main", "Notebook"), "");
    EXPECT_EQ(ValueOf(saved, "Levels", "TimePlayed"), "0");
}

TEST_F(PlayerInfoTest, EveryValueReadsBackInANewStore)
{
    UseNewProfile(L"Ann");
    PlayerInfo info;
    info.timePlayed = 12.5f;
    info.progress = 0.375f;
    info.gameComplete = true;
    info.showTutorial = false;
    info.currentTutorial = 7;
    info.tutorialHogItems = true;
    info.tutorialHogHint = true;
    info.notebooks["b"].page = 2;
    info.notebooks["a"].records.push_back({"x", 4});
    info.Save();
    Tandry::ShutdownProfileManager();

    PlayerInfo read;
    read.Load();
    EXPECT_EQ(read.timePlayed, 12.5f);
    EXPECT_EQ(read.progress, 0.375f);
    EXPECT_TRUE(read.gameComplete);
    EXPECT_FALSE(read.showTutorial);
    EXPECT_EQ(read.currentTutorial, 7);
    EXPECT_TRUE(read.tutorialHogItems);
    EXPECT_TRUE(read.tutorialHogHint);
    ASSERT_EQ(read.notebooks.size(), 2u);
    EXPECT_EQ(read.notebooks["b"].page, 2);
    ASSERT_EQ(read.notebooks["a"].records.size(), 1u);
    EXPECT_EQ(read.notebooks["a"].records[0].name, "x");
    EXPECT_EQ(read.notebooks["a"].records[0].number, 4);
}

TEST_F(PlayerInfoTest, ProgressStepsAddOnePartEachAndWriteTheFile)
{
    SetGameIni("[Game]\nProgressParts=4\n");
    UseNewProfile(L"Ann");
    PlayerInfo info;
    const std::vector<std::string> stored = {"0.25", "0.5", "0.75", "1", "1.25"};
    for (const std::string& expected : stored) {
        info.AddProgressStep();
        Tandry::NarrowIniDocument saved = SavedProfile();
        EXPECT_EQ(ValueOf(saved, "Main", "Progress"), expected);
    }
    EXPECT_EQ(info.progress, 1.25f);
}

TEST_F(PlayerInfoTest, ProgressPartsIsReadOnceAndBelowOneCountsAsOne)
{
    struct Case {
        const char* ini;
        int parts;
    };
    for (const Case& c : {Case{"", 22}, Case{"[Game]\nProgressParts=4\n", 4}, Case{"[Game]\nProgressParts=0\n", 1},
                          Case{"[Game]\nProgressParts=-3\n", 1}}) {
        Tandry::ResetGameIni();
        Tandry::ResetProgressParts();
        SetGameIni(c.ini);
        EXPECT_EQ(Tandry::ProgressParts(), c.parts) << c.ini;
    }
    Tandry::ResetGameIni();
    SetGameIni("[Game]\nProgressParts=9\n");
    EXPECT_EQ(Tandry::ProgressParts(), 1) << "the value read first stays until the reset";
}

TEST_F(PlayerInfoTest, NotebookIsStoredAsOneValueAndReadsBackEqual)
{
    UseNewProfile(L"Ann");
    PlayerInfo info;
    Tandry::NotebookEntry& book = info.notebooks["book_new"];
    book.page = 3;
    book.newRecord = true;
    book.records = {{"a", 1}, {"b", 2}};
    info.Save();
    GetProfileManager().SaveCurrentProfile();
    Tandry::NarrowIniDocument saved = SavedProfile();
    EXPECT_EQ(ValueOf(saved, "Notebook", "book_new"), "3,1,a,1,b,2");
    EXPECT_EQ(ValueOf(saved, "Main", "Notebook"), "book_new");

    PlayerInfo read;
    read.Load();
    ASSERT_EQ(read.notebooks.count("book_new"), 1u);
    const Tandry::NotebookEntry& back = read.notebooks["book_new"];
    EXPECT_EQ(back.page, 3);
    EXPECT_TRUE(back.newRecord);
    ASSERT_EQ(back.records.size(), 2u);
    EXPECT_EQ(back.records[1].name, "b");
    EXPECT_EQ(back.records[1].number, 2);
}

TEST_F(PlayerInfoTest, StoredTextsLoadWhatTheyCan)
{
    UseNewProfile(L"Ann");
    Tandry::ProfileManager& store = GetProfileManager();
    // "lost" has no [Notebook] key, "twice" is listed twice, empty names are skipped.
    store.SetValue("Main", "Notebook", " lost,,twice, twice ,odd");
    store.SetValue("Notebook", "twice", "1,0,r,5");
    store.SetValue("Notebook", "odd", "x,1,,a,b,c");
    store.SetValue("Main", "IsShowTutorial", "true");
    store.SetValue("Main", "IsGameComplete", "1");
    store.SetValue("Main", "TutorialHogHint", "01");
    store.SetValue("Main", "CurTutor", "abc");
    PlayerInfo info;
    info.Load();
    EXPECT_FALSE(info.showTutorial) << "only \"1\" is true";
    EXPECT_TRUE(info.gameComplete);
    EXPECT_FALSE(info.tutorialHogHint);
    EXPECT_EQ(info.currentTutorial, 0);

    ASSERT_EQ(info.notebooks.size(), 3u);
    EXPECT_EQ(info.notebooks["lost"].page, 0);
    EXPECT_FALSE(info.notebooks["lost"].newRecord);
    EXPECT_TRUE(info.notebooks["lost"].records.empty());
    EXPECT_EQ(info.notebooks["twice"].records.size(), 1u);
    const Tandry::NotebookEntry& odd = info.notebooks["odd"];
    EXPECT_EQ(odd.page, 0);
    EXPECT_TRUE(odd.newRecord);
    ASSERT_EQ(odd.records.size(), 2u);
    EXPECT_EQ(odd.records[0].name, "a");
    EXPECT_EQ(odd.records[0].number, 0);
    EXPECT_EQ(odd.records[1].name, "c");
    EXPECT_EQ(odd.records[1].number, 0);
}

TEST_F(PlayerInfoTest, WithoutAProfileLoadGivesStartValuesAndSaveWritesNothing)
{
    PlayerInfo info;
    info.currentTutorial = 4;
    info.Load();
    EXPECT_EQ(info.currentTutorial, 0);
    info.progress = 0.5f;
    info.Save();
    info.AddProgressStep();
    Tandry::ShutdownProfileManager();
    EXPECT_TRUE(TestSupport::NamesIn(data.Path() / "profiles").empty());
}

} // namespace
