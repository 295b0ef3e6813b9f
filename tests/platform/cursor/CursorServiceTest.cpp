#include "platform/cursor/CursorService.h"

#include "platform/headless/HeadlessCursors.h"

#include <gtest/gtest.h>

using namespace Platform;

namespace {

TEST(CursorService, SystemCursorsAreSharedAndUnknownNumbersRefused)
{
    HeadlessCursors cursors;
    CursorHandle arrow = cursors.LoadSystemCursor(IDC_ARROW);
    ASSERT_NE(arrow, nullptr);
    EXPECT_EQ(cursors.LoadSystemCursor(IDC_ARROW), arrow);
    EXPECT_NE(cursors.LoadSystemCursor(IDC_NO), arrow);
    EXPECT_EQ(cursors.LoadSystemCursor(32511), nullptr);
    EXPECT_FALSE(cursors.DestroyCursor(arrow));
}

TEST(CursorService, MadeCursorsAreShownHiddenAndDestroyed)
{
    HeadlessCursors cursors;
    std::vector<uint8_t> andMask(128, 0xFF), xorMask(128, 0x00);
    CursorHandle hand = cursors.CreateCursor(11, 4, 32, 32, andMask.data(), xorMask.data());
    ASSERT_NE(hand, nullptr);
    EXPECT_EQ(hand->hotX, 11);
    EXPECT_EQ(hand->andMask.size(), 128u);
    EXPECT_EQ(cursors.CreateCursor(0, 0, 30, 32, andMask.data(), xorMask.data()), nullptr);

    EXPECT_EQ(cursors.SetCursor(hand), nullptr);
    EXPECT_EQ(cursors.SetCursor(nullptr), hand);
    EXPECT_TRUE(cursors.DestroyCursor(hand));
    EXPECT_FALSE(cursors.DestroyCursor(hand));
    EXPECT_EQ(cursors.GetShown(), (std::vector<CursorHandle>{hand, nullptr}));
}

} // namespace
