// The entries of the title screen's logo list: any text gives an entry, the
// flag and the time read leniently, and only the two movie suffixes make a
// movie page.
#include "game/shell/LogoList.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cfloat>
#include <string>
#include <vector>

namespace {

struct EntryCase {
    std::string item;
    std::string name;
    bool skippable;
    float time;
    bool isFlash;
};

constexpr float kShowTime = 2.5f;

TEST(LogoListTest, EachItemGivesItsEntry)
{
    const std::vector<EntryCase> cases = {
        {"logo.png", "logo.png", true, kShowTime, false},
        {"logo.png:1:4.5", "logo.png", true, 4.5f, false},
        {"intro.swf:0", "intro.swf", false, kShowTime, true},
        {"intro.dat", "intro.dat", true, kShowTime, true},
        {"logo\\studio:0:1.5", "logo\\studio", false, 1.5f, false},
        // Exactly a suffix is not a movie name.
        {".swf", ".swf", true, kShowTime, false},
        {"a.swf", "a.swf", true, kShowTime, true},
        // Compared as they stand: the file is lower-cased before it gets here.
        {"intro.SWF", "intro.SWF", true, kShowTime, false},
        {"intro.swf.png", "intro.swf.png", true, kShowTime, false},
        // No number reads as 0.
        {"logo:x:y", "logo", false, 0.0f, false},
        {"logo::", "logo", false, 0.0f, false},
        {"logo:", "logo", false, kShowTime, false},
        {"logo:7", "logo", true, kShowTime, false},
        {"logo:-1:-2", "logo", true, -2.0f, false},
        {"logo: 0: 3", "logo", false, 3.0f, false},
        {"logo:1:2.5s", "logo", true, 2.5f, false},
        // Out of range saturates, so the flag stays set and the time finite.
        {"logo:99999999999999999999:1e999", "logo", true, FLT_MAX, false},
        {"logo:0:-1e999", "logo", false, -FLT_MAX, false},
        // Fields split at every ":"; what follows the time is ignored.
        {"logo:0:1:9", "logo", false, 1.0f, false},
        {"c:\\intro.swf", "c", false, kShowTime, false},
        {"", "", true, kShowTime, false},
    };
    for (const EntryCase& c : cases) {
        SCOPED_TRACE(c.item);
        const Tandry::LogoEntry entry = Tandry::ParseLogoEntry(c.item, kShowTime);
        EXPECT_EQ(entry.name, c.name);
        EXPECT_EQ(entry.skippable, c.skippable);
        EXPECT_EQ(entry.time, c.time);
        EXPECT_EQ(entry.isFlash, c.isFlash);
    }
}

TEST(LogoListTest, TheListKeepsItsOrder)
{
    const std::vector<Tandry::LogoEntry> entries =
        Tandry::ParseLogoList({"logo\\studio:0:1.5", "intro.swf", "logo\\title"}, 3.0f);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].name, "logo\\studio");
    EXPECT_EQ(entries[1].name, "intro.swf");
    EXPECT_EQ(entries[2].name, "logo\\title");
    EXPECT_EQ(entries[2].time, 3.0f);
    EXPECT_TRUE(Tandry::ParseLogoList({}, 3.0f).empty());
}

} // namespace
