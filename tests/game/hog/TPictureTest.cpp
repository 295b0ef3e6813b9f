// A picture's saved state in the profile: erasing it removes its own section
// and no other.
#include "game/hog/TPicture.h"

#include "tests/game/hog/HogProfileFixture.h"

#include <string>
#include <vector>

namespace {

class TPictureTest : public HogTest::HogProfileFixture {};

TEST_F(TPictureTest, EraseSavedStateRemovesOnlyTheLevelAndPictureSection)
{
    for (const char* section : {"lvl", "lvl_attic", "lvl_attic2", "lvl2_attic", "attic"})
        Store().SetValue(section, "CurrList", "x");
    Tandry::TPicture picture("attic", nullptr);
    picture.EraseSavedState("lvl");
    for (const char* section : {"lvl", "lvl_attic2", "lvl2_attic", "attic"})
        EXPECT_TRUE(Store().HasKey(section, "CurrList")) << section;
    EXPECT_FALSE(Store().HasKey("lvl_attic", "CurrList"));
    // Erasing again, or a section that never existed, changes nothing.
    picture.EraseSavedState("lvl");
    picture.EraseSavedState("other");
    std::vector<std::string> keys;
    EXPECT_TRUE(Store().GetKeyNames("lvl2_attic", keys));
    EXPECT_EQ(keys, std::vector<std::string>{"CurrList"});
}

} // namespace
