#include "platform/cursor/CursorService.h"

#include "platform/headless/HeadlessServices.h"

#include <gtest/gtest.h>

using namespace Platform;

namespace {

TEST(CursorService, MaskPairsBecomeSdlDataAndMaskBits)
{
    struct Case {
        uint8_t andBit, xorBit, data, mask;
    };
    const Case cases[] = {{0, 0, 1, 1}, {0, 1, 0, 1}, {1, 0, 0, 0}, {1, 1, 1, 0}};
    for (const Case& c : cases) {
        // The pair in the top bit of the first byte, the opposite pair everywhere else.
        std::vector<uint8_t> andMask{static_cast<uint8_t>(c.andBit << 7), 0xFF};
        std::vector<uint8_t> xorMask{static_cast<uint8_t>(c.xorBit << 7), 0x0F};
        SdlCursorBits bits = ConvertCursorMasks(andMask, xorMask);
        EXPECT_EQ(bits.data[0] >> 7, c.data) << int(c.andBit) << int(c.xorBit);
        EXPECT_EQ(bits.mask[0] >> 7, c.mask) << int(c.andBit) << int(c.xorBit);
        EXPECT_EQ(bits.data[1], 0x0F); // AND 1: XOR 1 inverted (data 1), XOR 0 transparent (data 0)
        EXPECT_EQ(bits.mask[1], 0x00);
    }
}

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
