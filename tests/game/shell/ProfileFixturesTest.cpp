// The profile store over the player files of tests/data/profiles, copied into
// a temporary data folder: good profiles, a damaged one, two files storing
// one name, and the "settings.ini" variants.
#include "game/shell/ProfileManager.h"

#include "tests/game/shell/ProfileFolderFixture.h"

#include <filesystem>
#include <string>
#include <vector>

namespace {

using Tandry::GetProfileManager;
using TestSupport::ReadFile;
namespace fs = std::filesystem;

const fs::path kFixtures = fs::path(MOORGLEN_TEST_DATA) / "profiles";

class ProfileFixturesTest : public ShellTest::ProfileFolderFixture {
protected:
    // Copies every profile of a fixture folder into the profiles folder.
    void CopyProfiles(const std::string& folder)
    {
        for (const auto& entry : fs::directory_iterator(kFixtures / folder))
            fs::copy_file(entry.path(), Profiles() / entry.path().filename(), fs::copy_options::overwrite_existing);
    }
    void CopySettings(const std::string& variant)
    {
        fs::copy_file(kFixtures / "settings" / variant, Settings(), fs::copy_options::overwrite_existing);
    }

    std::vector<Platform::HeadlessDialogs::BoxRecord> Boxes() { return Dialogs().GetBoxes(); }
};

TEST_F(ProfileFixturesTest, GoodProfilesListLoadAndSurviveTheFinalWrite)
{
    CopyProfiles("good");
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"Ann", L"Bo"}));
    Tandry::ProfileManager& store = GetProfileManager();
    EXPECT_EQ(store.GetCurrentName(), L"Ann");
    ASSERT_TRUE(store.LoadCurrentProfile());
    EXPECT_EQ(store.GetString("Main", "Progress"), "0.25");
    EXPECT_EQ(store.GetValue("Main", "CurTutor").GetInt(), 2);
    EXPECT_EQ(store.GetString("Levels", "s1"), "1,0.000");
    store.SelectProfile(L"Bo");
    ASSERT_TRUE(store.LoadCurrentProfile());
    EXPECT_EQ(store.GetString("Main", "Progress"), "0.5");
    EXPECT_TRUE(Boxes().empty());

    // Written back unchanged in content, both still pass their check.
    Tandry::ShutdownProfileManager();
    Tandry::ProfileManager& again = GetProfileManager();
    EXPECT_EQ(again.GetCurrentName(), L"Bo");
    EXPECT_TRUE(again.LoadCurrentProfile());
    again.SelectProfile(L"Ann");
    EXPECT_TRUE(again.LoadCurrentProfile());
    EXPECT_EQ(again.GetString("Levels", "s1"), "1,0.000");
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(ProfileFixturesTest, ADamagedProfileGivesOneNoticeAndIsLeftAsItWas)
{
    CopyProfiles("bad_crc");
    fs::copy_file(kFixtures / "good" / "profile1.prf", Profiles() / "profile1.prf");
    const std::string damaged = ReadFile(kFixtures / "bad_crc" / "profile0.prf");
    Tandry::ProfileManager& store = GetProfileManager();
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"Ann", L"Bo"}));
    EXPECT_EQ(store.GetCurrentName(), L"Ann");
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(store.LoadCurrentProfile());
        EXPECT_EQ(store.GetString("Main", "Progress"), "");
        EXPECT_FALSE(store.HasKey("Main", "Name"));
        store.SetValue("Main", "Progress", "1");
    }
    std::vector<Platform::HeadlessDialogs::BoxRecord> boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"Bad CRC: \"profile0.prf\"");
    EXPECT_EQ(boxes[0].caption, L"Error!");
    EXPECT_EQ(boxes[0].flags, 0x30u);

    store.SelectProfile(L"Bo");
    EXPECT_TRUE(store.LoadCurrentProfile());
    store.SelectProfile(L"Ann");
    EXPECT_FALSE(store.LoadCurrentProfile());
    EXPECT_EQ(Boxes().size(), 2u);
    Tandry::ShutdownProfileManager();
    EXPECT_EQ(ReadFile(Profiles() / "profile0.prf"), damaged);
}

TEST_F(ProfileFixturesTest, OfTwoFilesStoringOneNameTheFirstWinsAndTheOtherIsKept)
{
    CopyProfiles("same_name");
    const std::string second = ReadFile(kFixtures / "same_name" / "profile1.prf");
    Tandry::ProfileManager& store = GetProfileManager();
    EXPECT_EQ(Names(), std::vector<std::wstring>{L"Di"});
    ASSERT_TRUE(store.LoadCurrentProfile());
    EXPECT_EQ(store.GetString("Main", "Progress"), "0.25");
    // A new profile must not take the second file.
    EXPECT_TRUE(store.CreateProfile(L"Ed"));
    store.SetValue("Main", "Progress", "0.5");
    Tandry::ShutdownProfileManager();
    EXPECT_EQ(ReadFile(Profiles() / "profile1.prf"), second);
    EXPECT_TRUE(fs::exists(Profiles() / "profile2.prf"));
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"Di", L"Ed"}));
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(ProfileFixturesTest, SettingsNameTheProfileOnlyInQuotesAndKeepTheirOtherKeys)
{
    const std::string bom = "\xFF\xFE";
    const struct {
        const char* variant;
        std::wstring current;
    } cases[] = {
        {"quoted.ini", L"Bo"},
        {"unquoted.ini", L"Ann"},
        // The first character is taken for the missing mark: "[Video]" loses
        // its bracket, and [Main] after it is still read.
        {"no_bom.ini", L"Bo"},
        // The stray last byte is dropped.
        {"odd_length.ini", L"Bo"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.variant);
        CopyProfiles("good");
        CopySettings(c.variant);
        EXPECT_EQ(GetProfileManager().GetCurrentName(), c.current);
        Tandry::ShutdownProfileManager();

        const std::string written = ReadFile(Settings());
        ASSERT_GE(written.size(), 2u);
        EXPECT_EQ(written.substr(0, 2), bom);
        EXPECT_EQ(written.size() % 2, 0u);
        std::string text;  // the low bytes: every character here is ASCII
        for (size_t i = 2; i + 1 < written.size(); i += 2)
            text += written[i];
        EXPECT_NE(text.find("Profile=\"" + Tandry::WideToNarrow(c.current) + "\""), std::string::npos) << text;
        EXPECT_NE(text.find("Video]"), std::string::npos) << text;
        EXPECT_NE(text.find("Width=800"), std::string::npos) << text;
        EXPECT_NE(text.find("[Main]\r\nProfile="), std::string::npos) << text;
        EXPECT_NE(text.find("Volume=3"), std::string::npos) << text;
    }
}

} // namespace
