// The items-to-find panel's saved form in the profile: what is written, what
// reads back, and what a hand-edited value gives.
#include "game/hog/TNotepad.h"

#include "tests/game/hog/HogProfileFixture.h"

#include <string>
#include <utility>
#include <vector>

namespace {

using Record = std::pair<std::wstring, int>;

std::vector<Record> RecordsOf(const Tandry::TNotepad& notepad)
{
    std::vector<Record> records;
    for (const Tandry::TNotepad::TRecord& record : notepad.GetRecords())
        records.emplace_back(record.itemText, record.count);
    return records;
}

class TNotepadTest : public HogTest::HogProfileFixture {};

TEST_F(TNotepadTest, RecordsAreStoredAsHexNamesWithTheirCountsAndReadBack)
{
    Tandry::TNotepad saved;
    saved.AddRecord(L"Key", 2);
    saved.AddRecord(L"Coin", 0);
    saved.SaveState("lvl_pic");
    EXPECT_EQ(Store().GetString("lvl_pic", "Notepad"), "004b00650079/2,0043006f0069006e/0");

    Tandry::TNotepad loaded;
    loaded.AddRecord(L"Old", 1);
    loaded.LoadState("lvl_pic");
    EXPECT_EQ(RecordsOf(loaded), (std::vector<Record>{{L"Key", 2}, {L"Coin", 0}}));
    EXPECT_EQ(loaded.GetShownCount(), 0);
    for (const auto& record : loaded.GetRecords())
        EXPECT_FALSE(record.shown);

    // Saved in the document only: the file is not written.
    Tandry::ShutdownProfileManager();
    EXPECT_NE(TestSupport::ReadFile(data.Path() / "profiles" / "profile0.prf").find("Notepad="), std::string::npos);
}

TEST_F(TNotepadTest, AnEmptyPanelIsStoredEmptyAndLoadsNoRecords)
{
    Tandry::TNotepad empty;
    empty.SaveState("lvl_pic");
    EXPECT_TRUE(Store().HasKey("lvl_pic", "Notepad"));
    EXPECT_EQ(Store().GetString("lvl_pic", "Notepad"), "");
    Tandry::TNotepad loaded;
    loaded.AddRecord(L"Old", 1);
    loaded.LoadState("lvl_pic");
    EXPECT_TRUE(loaded.GetRecords().empty());
    loaded.AddRecord(L"Old", 1);
    loaded.LoadState("no_such_section");
    EXPECT_TRUE(loaded.GetRecords().empty());
}

TEST_F(TNotepadTest, HandEditedValuesLoadWhatTheyCan)
{
    const struct {
        const char* value;
        std::vector<Record> records;
    } cases[] = {
        // A token without "/" is skipped.
        {"0041,0042/3", {{L"B", 3}}},
        {",,0041/1,", {{L"A", 1}}},
        // The count's leading digits; none give 0, and a sign is no digit.
        {"0041/7x,0042/,0043/x9,0044/-3", {{L"A", 7}, {L"B", 0}, {L"C", 0}, {L"D", 0}}},
        {"0041/99999999999999", {{L"A", 2147483647}}},
        // Only the first "/" splits; an empty or short hex gives what it holds.
        {"0041/2/5,/4,00410/1", {{L"A", 2}, {L"", 4}, {L"A", 1}}},
        {" 0041 / 2 ", {{L"A", 2}}},
    };
    for (const auto& c : cases) {
        Store().SetValue("lvl_pic", "Notepad", c.value);
        Tandry::TNotepad notepad;
        notepad.LoadState("lvl_pic");
        EXPECT_EQ(RecordsOf(notepad), c.records) << c.value;
    }
}

TEST_F(TNotepadTest, WithoutACurrentProfileNothingIsStoredAndNothingLoads)
{
    Store().SetValue("lvl_pic", "Notepad", "0041/1");
    Store().SelectProfile(L"");
    Tandry::TNotepad notepad;
    notepad.AddRecord(L"Key", 2);
    notepad.SaveState("lvl_pic");
    notepad.LoadState("lvl_pic");
    EXPECT_TRUE(notepad.GetRecords().empty());
    Store().SelectProfile(L"Ann");
    EXPECT_EQ(Store().GetString("lvl_pic", "Notepad"), "0041/1");
}

} // namespace
