// The check box's toggle through the manager and its looks.
#include "widgets/Checkbox.h"

#include "graphics/context/Graphics.h"
#include "graphics/image/MemoryImage.h"
#include "widgets/ControlTestSupport.h"
#include "widgets/RecordingWidget.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Tandry::Checkbox;
using Tandry::Color;
using Tandry::Graphics;
using Tandry::MemoryImage;
using Tandry::Rect;
using WidgetTest::FillImage;
using WidgetTest::FirstDifference;
using Log = std::vector<std::string>;

TEST(Checkbox, TogglesOnThePressOfAnyButtonAndTellsOnce)
{
    WidgetTest::RecordingListener listener;
    Checkbox box(&listener);
    box.id = 4;
    EXPECT_TRUE(box.handCursor);
    WidgetTest::Tree tree;
    box.Resize(0, 0, 10, 10);
    tree.manager.AddWidget(&box);
    auto& m = tree.manager;

    const int clickCodes[] = {1, -1, 3, 2};
    bool expected = false;
    for (const int code : clickCodes) {
        SCOPED_TRACE(code);
        m.MouseDown(5, 5, code);
        expected = !expected;
        EXPECT_EQ(box.IsChecked(), expected);
        EXPECT_EQ(listener.Take(), (Log{"checked 4 " + std::string(expected ? "1" : "0")}));
        m.MouseUp(5, 5, code);
        EXPECT_EQ(listener.Take(), Log{});
    }
    box.SetChecked(true, false);
    box.SetChecked(false, false);
    EXPECT_EQ(listener.Take(), Log{});
    EXPECT_FALSE(box.IsChecked());
    box.SetChecked(true, true);
    EXPECT_EQ(listener.Take(), (Log{"checked 4 1"}));

    // Without a listener, and one that takes the box out of the tree.
    Checkbox lonely(nullptr);
    lonely.MouseDown(0, 0, 0, 1);
    lonely.SetChecked(false, true);
    EXPECT_FALSE(lonely.IsChecked());
    listener.on["checked"] = [&] { m.RemoveWidget(&box); };
    m.MouseDown(5, 5, 1);
    EXPECT_EQ(box.manager, nullptr);
    EXPECT_EQ(m.lastDownWidget, nullptr);
    m.MouseUp(5, 5, 1);
}

TEST(Checkbox, PlainCheckedBoxDrawsItsCrossCornerToCorner)
{
    Checkbox box(nullptr);
    box.Resize(0, 0, 10, 10);
    box.checked = true;
    MemoryImage got;
    FillImage(got, 10, 10, 0);
    Graphics g(&got);
    box.Draw(&g);

    // The line blend may leave a channel at 254.
    auto yellow = [&](int x, int y) {
        const uint32_t p = got.GetPixel(x, y);
        return (p >> 24) == 255 && ((p >> 16) & 255) >= 254 && ((p >> 8) & 255) >= 254 && (p & 255) == 0;
    };
    for (int i = 1; i <= 8; ++i)
        EXPECT_TRUE(yellow(i, i)) << i;
    // The second stroke starts on the outline column and ends on the first column.
    EXPECT_TRUE(yellow(9, 1));
    EXPECT_TRUE(yellow(1, 8));
    EXPECT_FALSE(yellow(8, 1));
    EXPECT_EQ(got.GetPixel(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(got.GetPixel(9, 9), 0xFFFFFFFFu);
    EXPECT_EQ(got.GetPixel(8, 1), 0xFF505050u);
    EXPECT_EQ(got.GetPixel(1, 9), 0xFFFFFFFFu);

    MemoryImage want;
    FillImage(want, 10, 10, 0);
    Graphics wg(&want);
    wg.SetColor(Color(255, 255, 255));
    wg.FillRect(0, 0, 10, 10);
    wg.SetColor(Color(80, 80, 80));
    wg.FillRect(1, 1, 8, 8);
    wg.SetColor(Color(255, 255, 0));
    wg.DrawLine(1, 1, 8, 8);
    wg.DrawLine(9, 1, 1, 8);
    EXPECT_EQ(FirstDifference(got, want), "");

    box.checked = false;
    box.Draw(&g);
    EXPECT_EQ(got.GetPixel(4, 4), 0xFF505050u);
    EXPECT_EQ(got.GetPixel(9, 1), 0xFFFFFFFFu);
}

TEST(Checkbox, ImageLooksAndTheCombinationsThatDrawNothing)
{
    MemoryImage on;
    MemoryImage off;
    FillImage(on, 4, 4, 0xFF00FF00);
    FillImage(off, 4, 4, 0xFFFF0000);
    // Both looks in one image: off on the left, on on the right.
    MemoryImage both;
    FillImage(both, 8, 4, 0xFFFF0000);
    for (int y = 0; y < 4; ++y)
        for (int x = 4; x < 8; ++x)
            both.GetBits()[y * 8 + x] = 0xFF00FF00;

    struct Case {
        const char* name;
        MemoryImage* unchecked;
        MemoryImage* checkedLook;
        Rect checkedCell;
        bool checked;
        // Drawn directly for comparison: the image and its part, or nothing.
        MemoryImage* wantImage;
        Rect wantPart;
    };
    const Case cases[] = {
        {"two images, checked", &off, &on, Rect(), true, &on, Rect()},
        {"two images, unchecked", &off, &on, Rect(), false, &off, Rect()},
        {"cells, checked", &both, nullptr, Rect(4, 0, 4, 4), true, &both, Rect(4, 0, 4, 4)},
        {"cells, unchecked", &both, nullptr, Rect(4, 0, 4, 4), false, &both, Rect(0, 0, 4, 4)},
        {"checked image alone", nullptr, &on, Rect(), true, nullptr, Rect()},
        {"unchecked image alone", &off, nullptr, Rect(), false, nullptr, Rect()},
        {"a cell but no image", nullptr, &on, Rect(4, 0, 4, 4), true, nullptr, Rect()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Checkbox box(nullptr);
        box.Resize(0, 0, 6, 6);
        box.uncheckedImage = c.unchecked;
        box.checkedImage = c.checkedLook;
        box.checkedRect = c.checkedCell;
        box.uncheckedRect = Rect(0, 0, 4, 4);
        box.checked = c.checked;
        MemoryImage got;
        FillImage(got, 6, 6, 0);
        Graphics g(&got);
        box.Draw(&g);
        MemoryImage want;
        FillImage(want, 6, 6, 0);
        Graphics wg(&want);
        if (c.wantImage != nullptr && c.wantPart.width != 0)
            wg.DrawImagePart(c.wantImage, 0, 0, c.wantPart);
        else if (c.wantImage != nullptr)
            wg.DrawImage(c.wantImage, 0, 0);
        EXPECT_EQ(FirstDifference(got, want), "");
    }
}

TEST(Checkbox, TinyBoxesDrawSafely)
{
    for (const int size : {0, 1, 2, -4}) {
        Checkbox box(nullptr);
        box.Resize(0, 0, size, size);
        box.checked = true;
        MemoryImage got;
        FillImage(got, 4, 4, 0);
        Graphics g(&got);
        box.Draw(&g);
    }
}

} // namespace
