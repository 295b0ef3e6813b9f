// The progress bar drawn from two layout pictures: the back, then the right
// end of the fill growing from the bar's left edge with the current player's
// progress. The fill picture's columns carry their own index in their
// colour, so every drawn pixel tells which column of the fill it came from.
#include "game/shell/GameProgress.h"

#include "ShellScreenFixture.h"
#include "game/shell/GameControllerCommon.h"
#include "game/shell/GuiLayoutEntry.h"
#include "graphics/context/Graphics.h"
#include "graphics/display/DDImage.h"
#include "graphics/image/MemoryImage.h"
#include "platform/Platform.h"
#include "platform/headless/HeadlessPlatform.h"
#include "resources/images/ImageWriters.h"
#include "widgets/WidgetManager.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace {

using Tandry::GameProgress;
using Tandry::GuiLayoutEntry;

constexpr int kFillWidth = 200;
constexpr int kHeight = 3;
constexpr uint32_t kBack = 0xFF204060u;

// Column c of the fill: red and green steps of 16 from the low and high
// nibbles of c, blue 0xF0; far apart enough that blending rounding never
// turns one column into another.
uint32_t FillColour(int column)
{
    return 0xFF000000u | static_cast<uint32_t>(column & 0xF) << 20 | static_cast<uint32_t>(column >> 4) << 12 |
           0xF0u;
}

std::unique_ptr<Tandry::DDImage> Picture(int width, int height, uint32_t (*colour)(int column))
{
    auto image = std::make_unique<Tandry::DDImage>(nullptr);
    image->Create(width, height);
    uint32_t* bits = image->GetBits();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bits[y * width + x] = colour(x);
    image->MarkBitsChanged();
    return image;
}

// Each channel within one step of the expected one.
bool Near(uint32_t got, uint32_t want)
{
    for (int shift = 0; shift < 32; shift += 8) {
        const int a = static_cast<int>((got >> shift) & 0xFFu);
        const int b = static_cast<int>((want >> shift) & 0xFFu);
        if (std::abs(a - b) > 1)
            return false;
    }
    return true;
}

class GameProgressTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Platform::InstallHeadlessPlatform();
        back.name = "progress/progress_empty";
        back.x = 30;
        back.y = 40;
        backPicture = Picture(kFillWidth + 10, kHeight, [](int) { return kBack; });
        back.image = backPicture.get();
        fill.name = "progress/progress_full";
        fill.x = 32;
        fill.y = 38;
        fillPicture = Picture(kFillWidth, kHeight, FillColour);
        fill.image = fillPicture.get();
    }
    void TearDown() override
    {
        Tandry::ResetGameControllerCommon();
        Platform::ResetPlatform();
    }

    // The bar drawn at progress p into a fresh transparent image one column
    // wider than the back.
    std::unique_ptr<Tandry::MemoryImage> DrawAt(float p)
    {
        Tandry::GetGameControllerCommon().GetPlayerInfo().progress = p;
        auto target = std::make_unique<Tandry::MemoryImage>();
        target->Create(kFillWidth + 11, kHeight);
        Tandry::Graphics g(target.get());
        GameProgress bar(&back, &fill);
        bar.Draw(&g);
        return target;
    }

    GuiLayoutEntry back;
    GuiLayoutEntry fill;
    std::unique_ptr<Tandry::DDImage> backPicture;
    std::unique_ptr<Tandry::DDImage> fillPicture;
};

TEST_F(GameProgressTest, TheFillGrowsFromTheLeftEdgeShowingItsRightEnd)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        float progress;
        int firstFillColumn;  // of the fill picture, drawn at column 0; kFillWidth: no fill
    };
    const Case cases[] = {
        {0.5f, 100},
        {0.0f, kFillWidth},
        {1.25f, 0},
        {1.0f, 0},
        {nan, kFillWidth},
        {-0.5f, kFillWidth},
        {inf, kFillWidth},
        {-inf, kFillWidth},
        {1e30f, 0},
        {0.004f, kFillWidth},  // 0.8 of a column
        {0.005f, 199},
        {0.3f, 140},           // 200 x 0.3f is just above 60
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "progress " << c.progress);
        const auto drawn = DrawAt(c.progress);
        const int columns = kFillWidth - c.firstFillColumn;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kFillWidth + 11; ++x) {
                uint32_t want = 0;
                if (x < columns)
                    want = FillColour(c.firstFillColumn + x);
                else if (x < kFillWidth + 10)
                    want = kBack;
                const uint32_t got = drawn->GetPixel(x, y);
                ASSERT_TRUE(Near(got, want)) << "at (" << x << ", " << y << "): " << std::hex << got << " not "
                                             << want;
            }
        }
    }
}

TEST_F(GameProgressTest, CoversBothPicturesAndSurvivesMissingOnes)
{
    struct Case {
        bool withBack, backPicture, withFill, fillPicture;
        int x, y, width, height;
    };
    const Case cases[] = {
        {true, true, true, true, 30, 38, 210, 5},  // (30, 40, 210, 3) with (32, 38, 200, 3)
        {true, true, false, false, 30, 40, 210, 3},
        {true, true, true, false, 30, 40, 210, 3},
        {false, false, true, true, 32, 38, 200, 3},
        {true, false, true, false, 0, 0, 0, 0},
        {false, false, false, false, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.withBack << c.backPicture << c.withFill << c.fillPicture);
        back.image = c.backPicture ? backPicture.get() : nullptr;
        fill.image = c.fillPicture ? fillPicture.get() : nullptr;
        GameProgress bar(c.withBack ? &back : nullptr, c.withFill ? &fill : nullptr);
        EXPECT_EQ(bar.x, c.x);
        EXPECT_EQ(bar.y, c.y);
        EXPECT_EQ(bar.width, c.width);
        EXPECT_EQ(bar.height, c.height);
        Tandry::GetGameControllerCommon().GetPlayerInfo().progress = 0.5f;
        Tandry::MemoryImage target;
        target.Create(8, 8);
        Tandry::Graphics g(&target);
        bar.Draw(&g);
        EXPECT_EQ(target.GetPixel(0, 0) != 0, c.backPicture || c.fillPicture);
    }
}

// As the game shows the bar: its pictures read from PNG files by the
// application's loader, the bar a widget of the manager, drawn onto the
// display's screen surface by the manager's draw pass.
class GameProgressOnScreenTest : public ShellTest::ShellScreenFixture {
protected:
    void TearDown() override
    {
        Tandry::ResetGameControllerCommon();
        ShellScreenFixture::TearDown();
    }

    // Written as a PNG file and read back by the application's loader.
    std::unique_ptr<Tandry::DDImage> Load(const std::string& name, int width, uint32_t (*colour)(int column))
    {
        std::vector<uint32_t> pixels;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < width; ++x)
                pixels.push_back(colour(x));
        const std::string path = ProgramFolder() + "/" + name + ".png";
        EXPECT_TRUE(Tandry::SavePngToFile(path, {width, kHeight, pixels.data()}));
        return std::unique_ptr<Tandry::DDImage>(app->LoadImageFile(ProgramFolder() + "/" + name, true));
    }
};

TEST_F(GameProgressOnScreenTest, HalfProgressShowsTheFillsRightHalfAtTheLeftOfTheBar)
{
    const auto backPicture = Load("progress_empty", kFillWidth, [](int) { return kBack; });
    const auto fillPicture = Load("progress_full", kFillWidth, FillColour);
    ASSERT_NE(backPicture, nullptr);
    ASSERT_NE(fillPicture, nullptr);
    GuiLayoutEntry back;
    back.x = 100;
    back.y = 50;
    back.image = backPicture.get();
    GuiLayoutEntry fill = back;
    fill.image = fillPicture.get();
    Tandry::GetGameControllerCommon().GetPlayerInfo().progress = 0.5f;
    GameProgress bar(&back, &fill);
    app->mWidgetManager->AddWidget(&bar);
    const bool drawn = app->mWidgetManager->DrawScreen();
    app->mWidgetManager->RemoveWidget(&bar);
    ASSERT_TRUE(drawn);

    Tandry::DDImage& screen = *app->mDDInterface->mScreenImage;
    for (int y = 50; y < 50 + kHeight; ++y) {
        for (int x = 100; x < 100 + kFillWidth; ++x) {
            const uint32_t want = x < 200 ? FillColour(x) : kBack;
            const uint32_t got = screen.GetPixel(x, y) | 0xFF000000u;
            ASSERT_TRUE(Near(got, want)) << "at (" << x << ", " << y << "): " << std::hex << got << " not " << want;
        }
    }
}

} // namespace
