// The game's image button on the real widget manager: its pictures and
// rectangle from layout entries or plain pictures, the per-pixel hit test
// with a ring whose hole lets clicks through, the UI sounds on enter and
// press, the right button ignored, and the additive highlight pass.
#include "GameWidgetFixture.h"
#include "game/shell/GuiLayoutEntry.h"
#include "game/shell/TGameButton.h"
#include "graphics/context/Graphics.h"
#include "graphics/image/MemoryImage.h"
#include "widgets/ControlTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using GameWidgetTest::LayoutPicture;
using GameWidgetTest::RingPixels;
using GameWidgetTest::SolidPixels;
using Tandry::Color;
using Tandry::Point;
using Tandry::Rect;
using Tandry::TGameButton;

// Takes every press that reaches it.
class Floor : public Tandry::Widget {
public:
    void MouseDown(int mouseX, int mouseY, int button, int /*clickCount*/) override
    {
        presses.push_back(std::to_string(mouseX) + "," + std::to_string(mouseY) + " " + std::to_string(button));
    }
    std::vector<std::string> presses;
};

// Counts the pictures drawn, so a second pass shows.
class CountingButton : public TGameButton {
public:
    using TGameButton::TGameButton;
    void DrawButtonImage(Tandry::Graphics* g, Tandry::Image* image, const Rect& source, int imageX,
                         int imageY) override
    {
        ++drawn;
        TGameButton::DrawButtonImage(g, image, source, imageX, imageY);
    }
    int drawn = 0;
};

class TGameButtonTest : public GameWidgetTest::GameWidgetFixture {
protected:
    // The listener's enter, down and click calls since the last call; moves
    // and holds are not the point here.
    std::vector<std::string> Calls()
    {
        std::vector<std::string> calls;
        for (const std::string& call : listener.Take())
            if (call.rfind("enter", 0) == 0 || call.rfind("down", 0) == 0 || call.rfind("click", 0) == 0)
                calls.push_back(call);
        return calls;
    }

    static Rect RectOf(const Tandry::Widget& widget) { return Rect(widget.x, widget.y, widget.width, widget.height); }

    WidgetTest::RecordingListener listener;
};

TEST_F(TGameButtonTest, SetImagesTakesTheUnionOfThePicturesAndHidesTheirEntries)
{
    auto layout = WriteLayout("b", {{"normal", 100, 100, 0, SolidPixels(40, 20, 0xFF808080u)},
                                    {"over", 95, 98, 0, SolidPixels(50, 30, 0xFFFFFFFFu)},
                                    {"absent", 7, 8, 0, {}}});
    struct Case {
        const char* normal; // null: no entry
        const char* over;
        Rect rect;
        Point normalOffset;
        Point overOffset;
        bool hasOver;
    };
    const Case cases[] = {
        {"normal", "over", Rect(95, 98, 50, 30), Point(5, 2), Point(0, 0), true},
        {"normal", nullptr, Rect(100, 100, 40, 20), Point(0, 0), Point(0, 0), false},
        // An entry whose picture did not load counts as none.
        {"normal", "absent", Rect(100, 100, 40, 20), Point(0, 0), Point(0, 0), false},
        {"over", "normal", Rect(95, 98, 50, 30), Point(0, 0), Point(5, 2), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.normal) + " / " + (c.over != nullptr ? c.over : "none"));
        for (const auto& entry : layout->Entries())
            entry->drawFlag = true;
        TGameButton button(3, &listener);
        Tandry::GuiLayoutEntry* normal = layout->FindEntry(c.normal);
        Tandry::GuiLayoutEntry* over = c.over != nullptr ? layout->FindEntry(c.over) : nullptr;
        button.SetImages(normal, over);
        EXPECT_EQ(RectOf(button), c.rect);
        EXPECT_EQ(button.normalOffset, c.normalOffset);
        EXPECT_EQ(button.overOffset, c.overOffset);
        EXPECT_EQ(button.normalPicture, normal->image);
        EXPECT_EQ(button.buttonImage, normal->image);
        EXPECT_FALSE(normal->drawFlag);
        if (c.hasOver) {
            EXPECT_EQ(button.overPicture, over->image);
            EXPECT_EQ(button.overImage, over->image);
            EXPECT_FALSE(over->drawFlag);
        } else {
            EXPECT_EQ(button.overPicture, nullptr);
            EXPECT_EQ(button.overImage, nullptr);
        }
        EXPECT_DOUBLE_EQ(button.overAlpha, 0.5);
        EXPECT_DOUBLE_EQ(button.overAlphaFadeInSpeed, 0.05);
        EXPECT_DOUBLE_EQ(button.overAlphaFadeOutSpeed, 0.05);
        EXPECT_TRUE(button.frameNoDraw);
        EXPECT_EQ(button.font, Tandry::FONT_DEFAULT);
        EXPECT_EQ(button.GetColor(0), Color(0xA0FFFFFFu));
        EXPECT_EQ(button.GetColor(1), Color(0xD0FFFFFFu));

        // The same pictures at the same points give the same fields.
        TGameButton at(3, &listener);
        at.SetImagesAt(normal->image, Point(normal->x, normal->y), c.hasOver ? over->image : nullptr,
                       c.hasOver ? Point(over->x, over->y) : Point());
        EXPECT_EQ(RectOf(at), RectOf(button));
        EXPECT_EQ(at.normalOffset, button.normalOffset);
        EXPECT_EQ(at.overOffset, button.overOffset);
        EXPECT_EQ(at.normalPicture, button.normalPicture);
        EXPECT_EQ(at.overPicture, button.overPicture);
    }
}

TEST_F(TGameButtonTest, WithoutANormalPictureOnlyTheLookValuesChange)
{
    auto layout = WriteLayout("b", {{"over", 95, 98, 0, SolidPixels(50, 30, 0xFFFFFFFFu)}, {"absent", 1, 2, 0, {}}});
    Tandry::GuiLayoutEntry* over = layout->FindEntry("over");
    const struct {
        const char* what;
        Tandry::GuiLayoutEntry* normal;
    } cases[] = {{"null entry", nullptr}, {"entry without picture", layout->FindEntry("absent")}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        over->drawFlag = true;
        TGameButton button(1, &listener);
        button.Resize(1, 2, 3, 4);
        button.SetImages(c.normal, over);
        EXPECT_EQ(RectOf(button), Rect(1, 2, 3, 4));
        EXPECT_EQ(button.normalPicture, nullptr);
        EXPECT_EQ(button.overPicture, nullptr);
        EXPECT_TRUE(over->drawFlag);
        EXPECT_DOUBLE_EQ(button.overAlpha, 0.5);
        EXPECT_EQ(button.font, Tandry::FONT_DEFAULT);
        EXPECT_EQ(button.GetColor(1), Color(0xD0FFFFFFu));
        // Without a picture the whole rectangle is the button.
        EXPECT_TRUE(button.HitTestPoint(0, 0));
    }
    TGameButton at(1, &listener);
    at.Resize(1, 2, 3, 4);
    at.SetImagesAt(nullptr, Point(5, 5), over->image, Point(0, 0));
    EXPECT_EQ(RectOf(at), Rect(1, 2, 3, 4));
    EXPECT_EQ(at.overPicture, nullptr);
}

TEST_F(TGameButtonTest, PlacesAtTheEndsOfTheIntRangeStayDefined)
{
    auto layout = WriteLayout("b", {{"a", 0, 0, 0, SolidPixels(4, 4, 0xFFFFFFFFu)}});
    Tandry::MemoryImage* picture = layout->FindEntry("a")->image;
    TGameButton button(1, &listener);
    button.SetImagesAt(picture, Point(INT32_MAX - 1, INT32_MAX - 1), picture, Point(INT32_MIN, INT32_MIN));
    EXPECT_EQ(button.x, INT32_MIN);
    EXPECT_EQ(button.width, INT32_MAX);
    EXPECT_EQ(button.overOffset, Point(0, 0));
    EXPECT_FALSE(button.HitTestPoint(5, 5));
}

class TGameButtonInputTest : public TGameButtonTest {
protected:
    void SetUp() override
    {
        TGameButtonTest::SetUp();
        // A 20 x 20 ring at (100, 100) with a 10 x 10 hole from (105, 105),
        // over a floor that takes what falls through.
        layout = WriteLayout("ring", {{"ring", 100, 100, 0, RingPixels(20, 10, 0xFFC0C0C0u)}});
        floor.Resize(0, 0, 400, 400);
        Manager().AddWidget(&floor);
        button = std::make_unique<TGameButton>(7, &listener);
        button->SetImages(layout->FindEntry("ring"), nullptr);
        Manager().AddWidget(button.get());
    }
    void TearDown() override
    {
        Manager().RemoveAllWidgets(false, true);
        TGameButtonTest::TearDown();
    }
    void Move(int x, int y)
    {
        InjectMouseMove(x, y);
        RunUpdate();
    }
    void Press(int x, int y, Platform::MouseButton which = Platform::MouseButton::Left)
    {
        InjectMouseButton(true, x, y, which);
        RunUpdate();
    }
    void Release(int x, int y, Platform::MouseButton which = Platform::MouseButton::Left)
    {
        InjectMouseButton(false, x, y, which);
        RunUpdate();
    }

    std::unique_ptr<Tandry::GuiLayout> layout;
    Floor floor;
    std::unique_ptr<TGameButton> button;
};

TEST_F(TGameButtonInputTest, EnteringPlaysTheEnterSoundAndPressingThePressSoundBeforeTheListener)
{
    Move(102, 102);
    EXPECT_TRUE(button->isOver);
    EXPECT_EQ(Played(), (std::vector<std::string>{"buttonEnter"}));
    EXPECT_EQ(Calls(), (std::vector<std::string>{"enter 7"}));
    Move(103, 102);
    EXPECT_TRUE(Played().empty());

    listener.on["down2"] = [this] { EXPECT_EQ(sounds.played, (std::vector<std::string>{"buttonPress"})); };
    Press(103, 102);
    EXPECT_EQ(Played(), (std::vector<std::string>{"buttonPress"}));
    EXPECT_EQ(Calls(), (std::vector<std::string>{"down 7 0", "down 7"}));
    EXPECT_TRUE(button->isDown);
    Release(103, 102);
    EXPECT_EQ(Calls(), (std::vector<std::string>{"click 7 0", "click 7"}));
    EXPECT_TRUE(Played().empty());
    EXPECT_TRUE(floor.presses.empty());
}

TEST_F(TGameButtonInputTest, TheHoleLetsMouseAndClicksThroughSilently)
{
    Move(110, 110);
    Press(110, 110);
    Release(110, 110);
    EXPECT_FALSE(button->isOver);
    EXPECT_TRUE(Played().empty());
    EXPECT_TRUE(Calls().empty());
    EXPECT_EQ(floor.presses, (std::vector<std::string>{"110,110 0"}));
}

TEST_F(TGameButtonInputTest, ARightClickPlaysAndCallsNothingAndLeavesTheButtonUp)
{
    Move(101, 101);
    Played();
    listener.Take();
    Press(101, 101, Platform::MouseButton::Right);
    EXPECT_FALSE(button->isDown);
    Release(101, 101, Platform::MouseButton::Right);
    EXPECT_FALSE(button->isDown);
    EXPECT_TRUE(Played().empty());
    EXPECT_TRUE(Calls().empty());
    EXPECT_TRUE(floor.presses.empty());
}

TEST_F(TGameButtonInputTest, WithoutSoundsTheButtonStillClicks)
{
    button->playsSounds = false;
    Move(101, 118);
    Press(101, 118);
    Release(101, 118);
    EXPECT_TRUE(Played().empty());
    EXPECT_EQ(Calls(), (std::vector<std::string>{"enter 7", "down 7 0", "down 7", "click 7 0", "click 7"}));
}

TEST_F(TGameButtonInputTest, WhileOverTheOverPictureDecidesTheHit)
{
    // The over picture is solid where the normal one has its hole.
    auto solid = WriteLayout("solid", {{"ring", 100, 100, 0, RingPixels(20, 10, 0xFFC0C0C0u)},
                                       {"full", 100, 100, 0, SolidPixels(20, 20, 0xFFFFFFFFu)}});
    button->SetImages(solid->FindEntry("ring"), solid->FindEntry("full"));
    Move(101, 101);
    ASSERT_TRUE(button->isOver);
    Move(110, 110);
    EXPECT_TRUE(button->isOver);
    Press(110, 110);
    Release(110, 110);
    EXPECT_TRUE(floor.presses.empty());
    Manager().RemoveAllWidgets(false, true);
}

class TGameButtonDrawTest : public TGameButtonTest {
protected:
    // A fresh opaque black 8 x 8 image.
    static std::unique_ptr<Tandry::MemoryImage> Black()
    {
        auto image = std::make_unique<Tandry::MemoryImage>();
        WidgetTest::FillImage(*image, 8, 8, 0xFF000000u);
        return image;
    }
};

TEST_F(TGameButtonDrawTest, AHighlightOtherThanOpaqueBlackAddsASecondAdditivePass)
{
    auto layout = WriteLayout("grey", {{"grey", 0, 0, 0, SolidPixels(4, 4, 0xFF646464u)}});
    Tandry::MemoryImage* grey = layout->FindEntry("grey")->image;

    // What the normal and the additive slot alone make of the grey picture
    // on black; the second pass adds the latter to the former.
    const auto drawAlone = [&](int mode, bool colorize, const Color& color) {
        auto target = Black();
        Tandry::Graphics g(target.get());
        g.SetDrawMode(mode);
        g.SetColorizeImages(colorize);
        g.SetColor(color);
        g.DrawImage(grey, 0, 0);
        return target->GetPixel(1, 1) & 0xFFFFFFu;
    };
    const uint32_t normal = drawAlone(Tandry::DRAWMODE_NORMAL, false, Color(255, 255, 255, 255));
    ASSERT_TRUE(GameWidgetTest::ChannelsNear(normal, 0x646464u));

    const struct {
        Color highlight;
        int passes;
    } cases[] = {
        {Color(0, 0, 0, 255), 1},
        {Color(64, 32, 16, 255), 2},
        // Only exactly opaque black is no highlight.
        {Color(0, 0, 0, 254), 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.passes);
        CountingButton button(1, &listener);
        button.SetImages(layout->FindEntry("grey"), nullptr);
        button.highlightColor = c.highlight;
        auto target = Black();
        Tandry::Graphics g(target.get());
        button.Draw(&g);
        EXPECT_EQ(button.drawn, c.passes);
        const uint32_t added =
            c.passes == 2 ? drawAlone(Tandry::DRAWMODE_ADDITIVE, true, c.highlight) : 0u;
        EXPECT_EQ(target->GetPixel(1, 1) & 0xFFFFFFu, normal + added);
        EXPECT_EQ(target->GetPixel(5, 5) & 0xFFFFFFu, 0u);
        // The context is left as it was given.
        EXPECT_EQ(g.mDrawMode, Tandry::DRAWMODE_NORMAL);
        EXPECT_FALSE(g.mColorizeImages);
    }
}

} // namespace
