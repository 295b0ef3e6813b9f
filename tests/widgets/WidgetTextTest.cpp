// The widget's text helpers with the box rasterizer (advance 10, ascent 15,
// height 20 at 15 points) and the digit strip.
#include "widgets/Widget.h"

#include "graphics/context/Graphics.h"
#include "graphics/image/MemoryImage.h"
#include "platform/fonts/BoxTextService.h"
#include "platform/fonts/TextService.h"
#include "widgets/SysFont.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using Tandry::Rect;

class WidgetTextTest : public ::testing::Test {
protected:
    WidgetTextTest()
    {
        Platform::InstallTextService(std::make_unique<Platform::BoxTextService>());
        font = std::make_unique<Tandry::SysFont>("any", 15, 0);
        image.Create(200, 100);
        graphics.SetFont(font.get());
        widget.Resize(0, 0, 200, 100);
    }
    ~WidgetTextTest() override
    {
        font.reset();
        Platform::ResetTextService();
    }

    std::unique_ptr<Tandry::SysFont> font;
    Tandry::MemoryImage image;
    Tandry::Graphics graphics{&image};
    Tandry::Widget widget;
};

TEST_F(WidgetTextTest, CentredLinesReturnTheirBoxes)
{
    EXPECT_EQ(widget.WriteCenteredLine(&graphics, 50, L"abcd"), Rect(80, 35, 40, 20));
    // The shadow's offset widens the box towards its side.
    const Tandry::Color color(1, 2, 3);
    const Tandry::Color shadow(4, 5, 6);
    EXPECT_EQ(widget.WriteCenteredLineShadowed(&graphics, 50, L"abcd", color, shadow, {3, -2}),
              Rect(80, 33, 43, 22));
    EXPECT_EQ(graphics.mColor, color);
    EXPECT_EQ(widget.WriteCenteredLineShadowed(&graphics, 50, L"abc", color, shadow, {-4, 5}),
              Rect(81, 35, 34, 25));
}

TEST_F(WidgetTextTest, WordWrappedHeightMeasuresWithoutDrawing)
{
    int widest = 0;
    // Three words of 30 in a width of 70: two lines.
    const int height = Tandry::GetWordWrappedHeight(&graphics, 70, L"abc def ghi", -1, &widest);
    EXPECT_EQ(height, widget.WriteWordWrapped(&graphics, Rect(0, 0, 70, 0), L"abc def ghi", -1, -1));
    EXPECT_EQ(widget.GetWordWrappedHeight(&graphics, 70, L"abc def ghi", -1), height);
    EXPECT_EQ(widest, 70);
    EXPECT_GT(height, 20);
}

TEST(WidgetNumberStrip, EachDigitIsCutFromItsCell)
{
    // Ten cells of 10 x 4, each of its own colour.
    Tandry::MemoryImage strip;
    strip.Create(100, 4);
    uint32_t* bits = strip.GetBits();
    auto cellColor = [](int digit) { return 0xFF000000u | static_cast<uint32_t>(digit + 1) * 0x101010u; };
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 100; ++x)
            bits[y * 100 + x] = cellColor(x / 10);
    Tandry::MemoryImage target;
    target.Create(60, 10);
    Tandry::Graphics g(&target);
    Tandry::Widget widget;

    widget.WriteNumberFromStrip(&g, 407, 5, 3, &strip, 2);

    // The cells 4, 0 and 7 copied straight to x, x + 12 and x + 24.
    Tandry::MemoryImage reference;
    reference.Create(60, 10);
    Tandry::Graphics direct(&reference);
    direct.DrawImagePart(&strip, 5, 3, Rect(40, 0, 10, 4));
    direct.DrawImagePart(&strip, 17, 3, Rect(0, 0, 10, 4));
    direct.DrawImagePart(&strip, 29, 3, Rect(70, 0, 10, 4));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 60; ++x)
            ASSERT_EQ(target.GetPixel(x, y), reference.GetPixel(x, y)) << x << "," << y;
    EXPECT_NE(target.GetPixel(5, 3), target.GetPixel(17, 3));
    EXPECT_EQ(target.GetPixel(15, 3), 0u) << "the spacing stays empty";
}

} // namespace
