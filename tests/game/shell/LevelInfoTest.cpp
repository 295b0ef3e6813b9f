#include "game/shell/LevelInfo.h"

#include "tests/game/shell/ProfileFolderFixture.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Tandry::LevelInfo;

class LevelInfoTest : public ShellTest::ProfileFolderFixture {};

TEST_F(LevelInfoTest, RecordIsStoredUnderLevelsWithItsName)
{
    UseNewProfile(L"Ann");
    LevelInfo won("s1");
    won.done = true;
    won.SaveToProfile();
    LevelInfo carried("s2");
    carried.value = 0.25f;
    carried.SaveToProfile();
    Tandry::GetProfileManager().SaveCurrentProfile();
    Tandry::NarrowIniDocument saved = SavedProfile();
    EXPECT_EQ(ValueOf(saved, "Levels", "s1"), "1,0.000");
    EXPECT_EQ(ValueOf(saved, "Levels", "s2"), "0,0.250");

    LevelInfo read("s2");
    read.done = true;
    read.LoadFromProfile();
    EXPECT_FALSE(read.done);
    EXPECT_EQ(read.value, 0.25f);
    EXPECT_EQ(read.Serialize(), "0,0.250") << "the value is carried unchanged";
}

TEST_F(LevelInfoTest, ParseReadsWhatItCanAndLeavesTheRest)
{
    struct Case {
        const char* text;
        bool done;
        float value;
    };
    // Every record starts as done with value 9.
    for (const Case& c : {Case{"1,0.5", true, 0.5f}, Case{"0,2", false, 2.0f}, Case{"2,1", false, 1.0f},
                          Case{"x,0.5", true, 0.5f}, Case{"1", true, 9.0f}, Case{"", true, 9.0f},
                          Case{"0,y,3", false, 9.0f}, Case{" 1 , 0.125 ,extra", true, 0.125f},
                          Case{"99999999999,1e60", false, 3.4028235e38f}}) {
        LevelInfo info("s");
        info.done = true;
        info.value = 9.0f;
        Tandry::StringTokenizer tokens(c.text, ',');
        info.Parse(tokens);
        EXPECT_EQ(info.done, c.done) << c.text;
        EXPECT_EQ(info.value, c.value) << c.text;
    }
}

TEST_F(LevelInfoTest, MissingRecordIsNotDone)
{
    UseNewProfile(L"Ann");
    LevelInfo info("never");
    info.LoadFromProfile();
    EXPECT_FALSE(info.done);
    EXPECT_EQ(info.value, 0.0f);
}

} // namespace
