#include "game/shell/ProfileManager.h"

#include "platform/Platform.h"
#include "platform/debug/DebugOutput.h"
#include "platform/fs/SafeWrite.h"
#include "platform/fs/ScratchFolder.h"
#include "platform/headless/HeadlessPlatform.h"
#include "resources/pak/FileUtils.h"
#include "util/StringUtils.h"

#include "tests/game/shell/ProfileFolderFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

using Tandry::GetProfileManager;
using TestSupport::ReadFile;
using TestSupport::WriteFile;
namespace fs = std::filesystem;

class ProfileStoreTest : public ShellTest::ProfileFolderFixture {
protected:
    // Runs the final write, so that the next GetProfileManager reads the disk again.
    void Restart() { Tandry::ShutdownProfileManager(); }

    // A UTF-16 file: the byte-order mark, then the text.
    static std::string Utf16(const std::string& text)
    {
        std::string bytes = "\xFF\xFE";
        for (const char c : text) {
            bytes += c;
            bytes += '\0';
        }
        return bytes;
    }
};

TEST_F(ProfileStoreTest, NewProfilesTakeTheFirstFreeFilesAndListInNameOrder)
{
    Tandry::ProfileManager& store = GetProfileManager();
    EXPECT_EQ(store.GetCurrentName(), L"");
    EXPECT_TRUE(store.CreateProfile(L"Bo"));
    EXPECT_TRUE(store.CreateProfile(L"Al"));
    EXPECT_TRUE(store.CreateProfile(L"Di"));
    EXPECT_FALSE(store.CreateProfile(L"Al"));
    store.SelectProfile(L"Bo");
    Restart();
    EXPECT_EQ(TestSupport::NamesIn(Profiles()),
              (std::vector<std::string>{"profile0.prf", "profile1.prf", "profile2.prf"}));
    EXPECT_NE(ReadFile(Profiles() / "profile0.prf").find("Name=0042006f"), std::string::npos);
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"Al", L"Bo", L"Di"}));
    EXPECT_EQ(GetProfileManager().GetCurrentName(), L"Bo");
}

TEST_F(ProfileStoreTest, FreeFileNamesSkipFilesOnDiskInAnyCase)
{
    WriteFile(Profiles() / "profile0.prf", "");
    WriteFile(Profiles() / "profile2.prf", "");
    EXPECT_EQ(GetProfileManager().FirstFreeFileName(), "profile1.prf");
    WriteFile(Profiles() / "Profile1.PRF", "");
    EXPECT_EQ(GetProfileManager().FirstFreeFileName(), "profile3.prf");
    // Names held by entries that are not on disk yet count too.
    GetProfileManager().CreateProfile(L"x");
    EXPECT_EQ(GetProfileManager().FirstFreeFileName(), "profile4.prf");
}

TEST_F(ProfileStoreTest, StoredNamesAreFoundFromMainOnwardsAndTheFirstFileKeepsAName)
{
    // The name is read as hex: upper-case digits and a stray character are fine.
    WriteFile(Profiles() / "a.prf", "[Main]\r\nCRC=1\r\n[Other]\r\nname=0041006E006Ex\r\n");
    WriteFile(Profiles() / "b.prf", "[Main]\r\nName=0041006e006e\r\n");
    WriteFile(Profiles() / "c.prf", "[Other]\r\nName=0042\r\n[Main]\r\nX=1\r\n");
    WriteFile(Profiles() / "d.txt", "[Main]\r\nName=0043\r\n");
    // The last key "Name" found wins.
    WriteFile(Profiles() / "e.prf", "[main]\r\nNAME=0044\r\n[x]\r\nName=\r\n");
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"", L"Ann"}));
    // The second file stays on disk, and no new profile gets its name.
    GetProfileManager().CreateProfile(L"New");
    Restart();
    EXPECT_TRUE(fs::exists(Profiles() / "b.prf"));
    EXPECT_EQ(ReadFile(Profiles() / "b.prf"), "[Main]\r\nName=0041006e006e\r\n");
    EXPECT_TRUE(fs::exists(Profiles() / "profile0.prf"));
}

TEST_F(ProfileStoreTest, ValuesRoundTripAndFallBackToTheGameDefaults)
{
    WriteFile(data.Path() / "res" / "game.ini", "[Game]\r\nStart=menu\r\nCount=7\r\n");
    Tandry::ProfileManager& store = GetProfileManager();
    store.CreateProfile(L"Ann");
    // No profile current: reads see the defaults, writes are dropped.
    EXPECT_EQ(store.GetString("Game", "Start"), "menu");
    store.SetValue("Game", "Start", "lost");
    EXPECT_FALSE(store.HasKey("Game", "Start"));
    store.SelectProfile(L"Ann");
    EXPECT_TRUE(store.LoadCurrentProfile());
    EXPECT_EQ(store.GetString("Game", "Start"), "menu");
    EXPECT_FALSE(store.HasKey("Game", "Start"));
    EXPECT_EQ(store.GetValue("Game", "Count").GetInt(), 7);
    store.SetValue("Levels", "s1", "1,0.500");
    store.SetValue("Levels", "a0", "x");
    store.SetValue("Levels", "m", "y");
    store.GetValue("Main", "Progress").SetInt(-3);
    EXPECT_EQ(store.GetValue("Main", "Progress").GetInt(), -3);
    EXPECT_EQ(store.GetValue("Levels", "s1").GetFloat(), 1.0f);
    EXPECT_EQ(store.GetValue("Levels", "a0").GetInt(), 0);
    std::vector<std::string> keys{"kept"};
    EXPECT_TRUE(store.GetKeyNames("Levels", keys));
    EXPECT_EQ(keys, (std::vector<std::string>{"kept", "s1", "a0", "m"}));
    EXPECT_TRUE(store.GetKeyNames("Nothing", keys));
    EXPECT_EQ(keys.size(), 4u);
    int first = 0;
    float second = 0.0f;
    Tandry::StringTokenizer list = store.GetListReader("Levels", "s1");
    EXPECT_TRUE(list.NextInt(first));
    EXPECT_TRUE(list.NextFloat(second));
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 0.5f);
    store.SaveCurrentProfile();
    store.RemoveSection("Levels");
    EXPECT_FALSE(store.HasKey("Levels", "s1"));
    Restart();
    // What was saved before the section went is on disk, checked by its CRC.
    Tandry::ProfileManager& again = GetProfileManager();
    EXPECT_EQ(again.GetCurrentName(), L"Ann");
    EXPECT_TRUE(again.LoadCurrentProfile());
    EXPECT_FALSE(again.HasKey("Levels", "s1"));  // the final write saved the removal too
    EXPECT_EQ(again.GetString("Main", "Progress"), "-3");
    EXPECT_TRUE(Dialogs().GetBoxes().empty());
}

TEST_F(ProfileStoreTest, RemoveSectionWithoutALoadedDocumentDoesNothing)
{
    GetProfileManager().CreateProfile(L"Ann");
    Restart();
    const std::string before = ReadFile(Profiles() / "profile0.prf");
    GetProfileManager().RemoveSection("Main");
    Restart();
    EXPECT_EQ(ReadFile(Profiles() / "profile0.prf"), before);
}

// A saved profile Ann (file profile0.prf) and Bo (profile1.prf), with
// settings naming Ann, and Ann's CRC then edited by hand.
class DamagedProfileTest : public ProfileStoreTest {
protected:
    void SetUp() override
    {
        ProfileStoreTest::SetUp();
        GetProfileManager().CreateProfile(L"Ann");
        GetProfileManager().CreateProfile(L"Bo");
        GetProfileManager().SelectProfile(L"Ann");
        GetProfileManager().SetValue("Main", "Progress", "2");
        Restart();
        std::string text = ReadFile(Profiles() / "profile0.prf");
        const size_t crc = text.find("CRC=");
        ASSERT_NE(crc, std::string::npos);
        text.insert(crc + 4, "1");
        WriteFile(Profiles() / "profile0.prf", text);
        damaged = text;
    }

    std::string damaged;
};

TEST_F(DamagedProfileTest, GivesOneNoticePerSelectionAndIsNeverWritten)
{
    WriteFile(data.Path() / "res" / "game.ini", "[Main]\r\nProgress=fallback\r\n");
    Tandry::ProfileManager& store = GetProfileManager();
    EXPECT_EQ(store.GetCurrentName(), L"Ann");
    EXPECT_FALSE(store.LoadCurrentProfile());
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(store.GetString("Main", "Progress"), "fallback");
        EXPECT_FALSE(store.HasKey("Main", "Progress"));
        store.SetValue("Main", "Progress", "9");
        std::vector<std::string> keys;
        EXPECT_FALSE(store.GetKeyNames("Main", keys));
    }
    store.SaveCurrentProfile();
    std::vector<Platform::HeadlessDialogs::BoxRecord> boxes = Dialogs().GetBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"Bad CRC: \"profile0.prf\"");
    EXPECT_EQ(boxes[0].caption, L"Error!");
    EXPECT_EQ(boxes[0].flags, 0x30u);
    EXPECT_EQ(boxes[0].owner, nullptr);

    store.SelectProfile(L"Bo");
    EXPECT_TRUE(store.LoadCurrentProfile());
    store.SelectProfile(L"Ann");
    EXPECT_FALSE(store.LoadCurrentProfile());
    EXPECT_FALSE(store.LoadCurrentProfile());
    EXPECT_EQ(Dialogs().GetBoxes().size(), 2u);
    Restart();
    EXPECT_EQ(ReadFile(Profiles() / "profile0.prf"), damaged);
}

TEST_F(DamagedProfileTest, RenamingItHoldsForTheRunOnlyAndLeavesTheFile)
{
    Tandry::ProfileManager& store = GetProfileManager();
    store.SelectProfile(L"Bo");
    EXPECT_TRUE(store.RenameProfile(L"Ann", L"Cy"));
    EXPECT_EQ(Dialogs().GetBoxes().size(), 1u);
    EXPECT_TRUE(store.Exists(L"Cy"));
    Restart();
    EXPECT_EQ(ReadFile(Profiles() / "profile0.prf"), damaged);
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"Ann", L"Bo"}));
}

TEST_F(ProfileStoreTest, SettingsNameTheCurrentProfileOnlyInQuotes)
{
    GetProfileManager().CreateProfile(L"Ann");
    GetProfileManager().CreateProfile(L"Bo");
    GetProfileManager().SelectProfile(L"Bo");
    Restart();
    EXPECT_EQ(ReadFile(Settings()), Utf16("[Main]\r\nProfile=\"Bo\""));

    const struct {
        std::string settings;
        std::wstring current;
    } cases[] = {
        {Utf16("[Main]\r\nProfile=\"Bo\""), L"Bo"},
        {Utf16("[Main]\r\nProfile=Bo"), L"Ann"},
        {Utf16("[Main]\r\nProfile=\"\""), L"Ann"},
        {Utf16("[Main]\r\nProfile=\"Cy\""), L"Ann"},
        {Utf16("[main]\r\nprofile=\"Bo\""), L"Bo"},
        // Without a byte-order mark the '[' goes in its place: no [Main].
        {Utf16("[Main]\r\nProfile=\"Bo\"").substr(2), L"Ann"},
        {Utf16("[Main]\r\nProfile=\"Bo\"") + "\x01", L"Bo"},
        {"\xFF\xFE\x01", L"Ann"},
        {"", L"Ann"},
    };
    for (const auto& c : cases) {
        WriteFile(Settings(), c.settings);
        EXPECT_EQ(GetProfileManager().GetCurrentName(), c.current) << testing::PrintToString(c.settings);
        Restart();
    }
}

TEST_F(ProfileStoreTest, TheFinalWriteKeepsTheOtherSettings)
{
    GetProfileManager().CreateProfile(L"Ann");
    Restart();
    WriteFile(Settings(), Utf16("; mine\r\n[Video]\r\nWidth=800\r\n[Main]\r\nVolume=3\r\nProfile=x\r\n"));
    GetProfileManager();
    Restart();
    EXPECT_EQ(ReadFile(Settings()),
              Utf16("; mine\r\n\r\n[Video]\r\nWidth=800\r\n\r\n[Main]\r\nVolume=3\r\nProfile=\"Ann\""));
}

TEST_F(ProfileStoreTest, NoCurrentProfileWritesNoSettings)
{
    GetProfileManager();
    Restart();
    EXPECT_FALSE(fs::exists(Settings()));
}

TEST_F(ProfileStoreTest, DeletingTheCurrentProfileHandsOverToTheNext)
{
    Tandry::ProfileManager& store = GetProfileManager();
    for (const wchar_t* name : {L"A", L"B", L"C"})
        store.CreateProfile(name);
    store.SelectProfile(L"B");
    store.SaveCurrentProfile();
    ASSERT_TRUE(fs::exists(Profiles() / "profile1.prf"));
    EXPECT_FALSE(store.DeleteProfile(L"Z"));
    EXPECT_TRUE(store.DeleteProfile(L"B"));
    EXPECT_FALSE(fs::exists(Profiles() / "profile1.prf"));
    EXPECT_EQ(store.GetCurrentName(), L"C");
    EXPECT_TRUE(store.DeleteProfile(L"A"));  // another one: C stays current
    EXPECT_EQ(store.GetCurrentName(), L"C");
    EXPECT_TRUE(store.DeleteProfile(L"C"));
    EXPECT_EQ(store.GetCurrentName(), L"");
    EXPECT_FALSE(store.LoadCurrentProfile());
}

TEST_F(ProfileStoreTest, RenamingTheCurrentProfileKeepsItCurrentWithItsDocument)
{
    Tandry::ProfileManager& store = GetProfileManager();
    store.CreateProfile(L"Ann");
    store.CreateProfile(L"Bo");
    store.SelectProfile(L"Ann");
    store.SetValue("Main", "Progress", "4");
    EXPECT_FALSE(store.RenameProfile(L"Ann", L"Bo"));
    EXPECT_FALSE(store.RenameProfile(L"Cy", L"Dee"));
    EXPECT_TRUE(store.RenameProfile(L"Ann", L"Zed"));
    EXPECT_EQ(store.GetCurrentName(), L"Zed");
    EXPECT_EQ(store.GetString("Main", "Progress"), "4");
    EXPECT_EQ(store.GetString("Main", "Name"), Tandry::WideStringToHex(L"Zed"));
    Restart();
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"Bo", L"Zed"}));
    EXPECT_EQ(GetProfileManager().GetCurrentName(), L"Zed");
}

TEST_F(ProfileStoreTest, AProfileRenamedWhileUnloadedKeepsItsNewName)
{
    GetProfileManager().CreateProfile(L"Ann");
    GetProfileManager().CreateProfile(L"Bo");
    Restart();
    Tandry::ProfileManager& store = GetProfileManager();
    store.SelectProfile(L"Bo");
    EXPECT_TRUE(store.RenameProfile(L"Ann", L"Cy"));
    Restart();
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"Bo", L"Cy"}));
    EXPECT_TRUE(Dialogs().GetBoxes().empty());
}

TEST_F(ProfileStoreTest, NamesBeyondSixteenBitsAndEmptyNamesRoundTrip)
{
    const std::wstring smile{wchar_t(0xD83D), wchar_t(0xDE00)};
    GetProfileManager().CreateProfile(smile);
    GetProfileManager().CreateProfile(L"");
    Restart();
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"", smile}));
}

TEST_F(ProfileStoreTest, AFailedSaveLeavesTheOldFileAndTriesAgainLater)
{
    Tandry::ProfileManager& store = GetProfileManager();
    store.CreateProfile(L"Ann");
    store.SelectProfile(L"Ann");
    store.SaveCurrentProfile();
    const std::string before = ReadFile(Profiles() / "profile0.prf");
    std::vector<std::string> lines;
    Platform::SetDebugSink([&lines](const std::string& text) { lines.push_back(text); });
    Platform::SafeWrite::SetFaultForTests(Platform::SafeWrite::Fault::Write);
    store.SetValue("Main", "Progress", "1");
    store.SaveCurrentProfile();
    Platform::SafeWrite::SetFaultForTests(Platform::SafeWrite::Fault::None);
    Platform::SetDebugSink({});
    EXPECT_EQ(ReadFile(Profiles() / "profile0.prf"), before);
    EXPECT_EQ(TestSupport::NamesIn(Profiles()), (std::vector<std::string>{"profile0.prf"}));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("profile0.prf"), std::string::npos);
    store.SaveCurrentProfile();
    EXPECT_NE(ReadFile(Profiles() / "profile0.prf").find("Progress=1"), std::string::npos);
}

TEST_F(ProfileStoreTest, CrcValuesOutOfRangeAreRefused)
{
    // A CRC far beyond the int range must not wrap onto a matching value.
    GetProfileManager().CreateProfile(L"Ann");
    GetProfileManager().SelectProfile(L"Ann");
    Restart();
    std::string text = ReadFile(Profiles() / "profile0.prf");
    const size_t crc = text.find("CRC=") + 4;
    const std::string value = text.substr(crc, text.find_first_not_of("0123456789", crc) - crc);
    text.replace(crc, value.size(), std::to_string(4294967296LL + std::stoll(value)));
    WriteFile(Profiles() / "profile0.prf", text);
    EXPECT_FALSE(GetProfileManager().LoadCurrentProfile());
    EXPECT_EQ(Dialogs().GetBoxes().size(), 1u);
}

} // namespace
