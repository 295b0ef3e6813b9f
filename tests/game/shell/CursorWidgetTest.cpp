// The cursor overlay as the manager runs it: updated after every other widget
// and drawn last, at the manager's last mouse point.
#include "GameWidgetFixture.h"
#include "game/shell/CursorWidget.h"
#include "graphics/image/MemoryImage.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using Tandry::CursorWidget;

class CursorWidgetTest : public GameWidgetTest::GameWidgetFixture {
protected:
    void SetUp() override
    {
        GameWidgetFixture::SetUp();
        Manager().cursorWidget = &cursor;
    }
    void TearDown() override
    {
        Manager().cursorWidget = nullptr;
        GameWidgetFixture::TearDown();
    }
    static std::unique_ptr<Tandry::MemoryImage> Solid(int size, uint32_t argb)
    {
        auto image = std::make_unique<Tandry::MemoryImage>();
        image->Create(size, size);
        for (int i = 0; i < size * size; ++i)
            image->GetBits()[i] = argb;
        image->MarkBitsChanged();
        return image;
    }
    // The box of screen pixels that are not black.
    Tandry::Rect DrawnBox()
    {
        int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;
        Tandry::Image* screen = Manager().drawImage;
        for (int y = 0; y < screen->mHeight; ++y)
            for (int x = 0; x < screen->mWidth; ++x)
                if (ScreenPixel(x, y) != 0) {
                    left = std::min(left, x);
                    top = std::min(top, y);
                    right = std::max(right, x);
                    bottom = std::max(bottom, y);
                }
        return right < 0 ? Tandry::Rect() : Tandry::Rect(left, top, right - left + 1, bottom - top + 1);
    }

    CursorWidget cursor;
};

TEST_F(CursorWidgetTest, WithoutPictureNothingIsDrawnYetItIsDirtyAfterEveryUpdate)
{
    EXPECT_EQ(cursor.GetRect(), Tandry::Rect(0, 0, 1, 1));
    for (int i = 0; i < 3; ++i) {
        cursor.dirty = false;
        RunUpdate();
        EXPECT_TRUE(cursor.dirty);
    }
    Manager().MouseMove(100, 100);
    DrawScreen();
    EXPECT_EQ(DrawnBox(), Tandry::Rect());
}

TEST_F(CursorWidgetTest, PulseBreathesBetweenTheBoundAndFullSize)
{
    auto picture = Solid(4, 0xFFFFFFFFu);
    cursor.image = picture.get();
    cursor.pulse = true;
    cursor.maxScale = 0.9f;
    struct Step {
        int updates;
        float scale;
    };
    int done = 0;
    for (const Step& step : {Step{25, 0.9f}, Step{50, 0.95f}, Step{75, 1.0f}, Step{100, 0.95f}}) {
        for (; done < step.updates; ++done)
            RunUpdate();
        EXPECT_NEAR(cursor.scale, step.scale, 1e-4f) << step.updates;
    }
}

TEST_F(CursorWidgetTest, PulseStaysStillWithoutPictureOrWhileTheAlternativeShows)
{
    auto picture = Solid(4, 0xFFFFFFFFu);
    auto alternative = Solid(6, 0xFF00FF00u);
    cursor.pulse = true;
    cursor.maxScale = 0.9f;
    RunUpdate();
    EXPECT_EQ(cursor.phase, 0.0f);

    cursor.image = picture.get();
    cursor.altImage = alternative.get();
    for (int i = 0; i < 10; ++i)
        RunUpdate();
    const float scale = cursor.scale;
    const float phase = cursor.phase;
    EXPECT_LT(scale, 1.0f);
    cursor.useAlt = 1;
    for (int i = 0; i < 10; ++i)
        RunUpdate();
    EXPECT_EQ(cursor.scale, scale);
    EXPECT_EQ(cursor.phase, phase);

    // The alternative is what is drawn, at the scale where the pulse stopped.
    app->mCustomCursorsEnabled = true;
    Manager().MouseMove(200, 200);
    DrawScreen();
    EXPECT_TRUE(GameWidgetTest::ChannelsNear(ScreenPixel(200, 200), 0x00FF00u));
    const Tandry::Rect box = DrawnBox();
    EXPECT_EQ(box.width, static_cast<int>(6 * scale));
}

TEST_F(CursorWidgetTest, PictureIsCentredOnTheMouseOrBesideTheSystemArrow)
{
    auto picture = Solid(5, 0xFFFFFFFFu);
    cursor.image = picture.get();
    Manager().MouseMove(300, 200);

    app->mCustomCursorsEnabled = true;
    DrawScreen();
    const Tandry::Rect centred = DrawnBox();
    EXPECT_EQ(centred.width, 5);
    EXPECT_EQ(centred.height, 5);
    // Whole pixels: the picture's middle pixel lies at most one pixel from the point.
    EXPECT_LE(std::abs(centred.x + 2 - 300), 1);
    EXPECT_LE(std::abs(centred.y + 2 - 200), 1);

    app->mCustomCursorsEnabled = false;
    DrawScreen();
    EXPECT_EQ(DrawnBox(), Tandry::Rect(centred.x + 20, centred.y, 5, 5));
}

TEST_F(CursorWidgetTest, DrawsOverTheWholeScreenWhateverTheClipItIsGiven)
{
    auto picture = Solid(4, 0xFFFFFFFFu);
    cursor.image = picture.get();
    app->mCustomCursorsEnabled = true;
    Manager().MouseMove(500, 400);
    Tandry::Graphics g(Manager().drawImage);
    g.SetColor(Tandry::Color(0xFF000000u));
    g.FillRect(0, 0, Manager().drawImage->mWidth, Manager().drawImage->mHeight);
    g.SetClipRect(0, 0, 1, 1);
    cursor.Draw(&g);
    EXPECT_TRUE(GameWidgetTest::ChannelsNear(ScreenPixel(500, 400), 0xFFFFFFu));
}

} // namespace
