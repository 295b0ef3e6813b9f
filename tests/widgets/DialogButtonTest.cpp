// The dialog button's component-image looks and label, compared with the
// same box drawing and text done directly through Graphics.
#include "widgets/DialogButton.h"

#include "graphics/context/Graphics.h"
#include "graphics/image/MemoryImage.h"
#include "widgets/ControlTestSupport.h"
#include "widgets/SysFont.h"

#include <gtest/gtest.h>

namespace {

using Tandry::Color;
using Tandry::DialogButton;
using Tandry::Graphics;
using Tandry::MemoryImage;
using Tandry::Rect;
using WidgetTest::FillImage;
using WidgetTest::FirstDifference;

class DialogButtonTest : public ::testing::Test {
protected:
    DialogButtonTest()
    {
        // Four 6 x 6 cells: normal, over, down, disabled.
        const uint32_t cellColors[4] = {0xFF800000, 0xFF008000, 0xFF000080, 0xFF404040};
        FillImage(cells, 24, 6, 0);
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 24; ++x)
                cells.GetBits()[y * 24 + x] = cellColors[x / 6];
        button.Resize(0, 0, 20, 12);
        button.componentImage = &cells;
        button.normalRect = kNormal;
        button.overRect = kOver;
        button.downRect = kDown;
        button.disabledRect = kDisabled;
    }

    void Draw()
    {
        FillImage(got, 24, 16, 0);
        Graphics g(&got);
        button.Draw(&g);
        EXPECT_EQ(g.mTransX, 0.0f);
        EXPECT_EQ(g.mTransY, 0.0f);
    }

    static constexpr Rect kNormal{0, 0, 6, 6};
    static constexpr Rect kOver{6, 0, 6, 6};
    static constexpr Rect kDown{12, 0, 6, 6};
    static constexpr Rect kDisabled{18, 0, 6, 6};

    WidgetTest::BoxFonts fonts;
    WidgetTest::RecordingListener listener;
    MemoryImage cells;
    MemoryImage got;
    DialogButton button{1000, &listener};
};

TEST_F(DialogButtonTest, EachStateDrawsItsBoxCell)
{
    struct Case {
        const char* name;
        bool disabled;
        bool down;
        bool over;
        double overAlpha;
        Rect cell;
    };
    const Case cases[] = {
        {"normal", false, false, false, 0.0, kNormal},
        {"over", false, false, true, 0.0, kOver},
        {"down", false, true, true, 0.0, kDown},
        {"down off the button", false, true, false, 0.0, kNormal},
        {"disabled", true, true, true, 0.0, kDisabled},
        {"fully faded in", false, false, false, 1.0, kOver},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        button.disabled = c.disabled;
        button.isDown = c.down;
        button.isOver = c.over;
        button.overAlpha = c.overAlpha;
        Draw();
        MemoryImage want;
        FillImage(want, 24, 16, 0);
        Graphics wg(&want);
        if (c.overAlpha > 0.0) {
            wg.SetColorizeImages(true);
            wg.SetColor(Color(255, 255, 255, 255));
        }
        wg.DrawImageBoxPart(Rect(0, 0, 20, 12), c.cell, &cells);
        EXPECT_EQ(FirstDifference(got, want), "");
        EXPECT_EQ(button.font, nullptr);
    }
}

TEST_F(DialogButtonTest, HalfFadedOverCellIsBlendedOverTheNormalCell)
{
    button.overAlpha = 0.5;
    Draw();
    MemoryImage want;
    FillImage(want, 24, 16, 0);
    Graphics wg(&want);
    wg.DrawImageBoxPart(Rect(0, 0, 20, 12), kNormal, &cells);
    wg.SetColorizeImages(true);
    wg.SetColor(Color(255, 255, 255, 127));
    wg.DrawImageBoxPart(Rect(0, 0, 20, 12), kOver, &cells);
    EXPECT_EQ(FirstDifference(got, want), "");
}

TEST_F(DialogButtonTest, PressedMovesTheWholeImageAndTheLabel)
{
    MemoryImage plain;
    FillImage(plain, 6, 6, 0xFF000080);
    button.componentImage = &plain;
    button.normalRect = Rect();
    button.label = L"Yes";
    button.textOffsetX = 2;
    button.textOffsetY = -1;
    button.translateX = 1;
    button.translateY = 1;

    for (const bool pressed : {false, true}) {
        SCOPED_TRACE(pressed ? "pressed" : "raised");
        button.isDown = pressed;
        button.isOver = pressed;
        Draw();
        // The 12-point box font: 16 pixels, advance 8, ascent 12, no extra spacing.
        ASSERT_NE(button.font, nullptr);
        EXPECT_EQ(button.font->GetHeight(), 16);
        Tandry::SysFont font("Arial Unicode MS", 12, 1);
        ASSERT_EQ(font.GetAscent(), 12);
        ASSERT_EQ(font.GetLineSpacingOffset(), 0);
        const int shift = pressed ? 1 : 0;
        const int labelX = 2 + (20 - 24) / 2;
        const int labelY = -1 + (12 + 12 - 12 / 6 - 0 - 1) / 2;

        MemoryImage want;
        FillImage(want, 24, 16, 0);
        Graphics wg(&want);
        wg.Translate(shift, shift);
        wg.DrawImageBox(Rect(0, 0, 20, 12), &plain);
        font.DrawString(&wg, labelX, labelY, L"Yes", Color(255, 255, 255), wg.mClipRect, 1.0f, 1.0f, 0.0f,
                        Tandry::kAlignLeft, Tandry::kAlignBaseline);
        EXPECT_EQ(want.GetPixel(0, 0), pressed ? 0u : got.GetPixel(0, 0));
        EXPECT_EQ(FirstDifference(got, want), "");
    }
}

TEST_F(DialogButtonTest, WithoutComponentImageItDrawsAsAButtonInItsOwnColours)
{
    DialogButton plain(1001, &listener);
    EXPECT_TRUE(plain.handCursor);
    EXPECT_EQ(plain.GetColor(0), Color(255, 255, 255));
    EXPECT_EQ(plain.GetColor(5), Color(212, 212, 212));
    plain.Resize(0, 0, 20, 12);
    plain.label = L"No";
    MemoryImage image;
    FillImage(image, 20, 12, 0);
    Graphics g(&image);
    plain.Draw(&g);
    // The plain button's 10-point font, the face colour in the middle.
    ASSERT_NE(plain.font, nullptr);
    EXPECT_EQ(plain.font->GetHeight(), 13);
    EXPECT_EQ(image.GetPixel(1, 4), 0xFFD4D4D4u);
}

TEST_F(DialogButtonTest, OddCellsAndSizesDrawSafely)
{
    MemoryImage tiny;
    FillImage(tiny, 1, 1, 0xFFFFFFFF);
    button.componentImage = &tiny;
    for (const Rect& size : {Rect(0, 0, 0, 0), Rect(0, 0, 1, 1), Rect(0, 0, -3, 7), Rect(0, 0, 20, 12)}) {
        button.Resize(size);
        for (const Rect& cell : {Rect(), Rect(0, 0, 1, 1), Rect(0, 0, 5, 5), Rect(-2, -2, 1, 1)}) {
            button.normalRect = cell;
            button.label = L"A";
            Draw();
        }
    }
}

} // namespace
