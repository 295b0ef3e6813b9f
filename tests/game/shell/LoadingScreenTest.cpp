// The loading screen's row of lamps, drawn from a layout written into the
// game folder with solid pictures from a fake widget host: how many lamps a
// count of finished tasks lights, where they stand, and a layout without the
// entries it looks for.
#include "game/shell/GameAppFixture.h"
#include "game/shell/LoadingScreen.h"
#include "graphics/context/Graphics.h"
#include "graphics/image/MemoryImage.h"
#include "platform/debug/DebugOutput.h"
#include "platform/fs/ScratchFolder.h"
#include "widgets/FakeWidgetHost.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

namespace {

constexpr uint32_t kLampColour = 0xFF00FF00u;
constexpr uint32_t kLineColour = 0xFFFF0000u;
constexpr int kLampWidth = 2;

// Final, so that it may be deleted through its own type.
class Host final : public Tandry::FakeWidgetHost {};

class LoadingScreenTest : public ShellTest::GameAppFixture {
protected:
    void SetUp() override
    {
        GameAppFixture::SetUp();
        host = std::make_unique<Host>();
        host->make = [this](const std::string& path, Tandry::DDImage& image) {
            static const std::map<std::string, std::pair<int, uint32_t>> pictures = {
                {"data/gui/loading/lamp", {kLampWidth, kLampColour}},
                {"data/gui/loading/line", {1, kLineColour}},
            };
            const auto found = pictures.find(path);
            if (found == pictures.end() || (!lampPicture && found->first.ends_with("lamp")))
                return false;
            image.Create(found->second.first, 1);
            for (int i = 0; i < found->second.first; ++i)
                image.GetBits()[i] = found->second.second;
            image.MarkBitsChanged();
            return true;
        };
    }
    void TearDown() override
    {
        screen.reset();
        host.reset();
        GameAppFixture::TearDown();
    }

    void WriteLayout(const std::string& text)
    {
        TestSupport::WriteFile(std::filesystem::path(ProgramFolder()) / "data/gui/loading/layers.ini", text);
        screen = std::make_unique<Tandry::LoadingScreen>();
    }
    // The screen drawn into a fresh 100 x 8 transparent picture with done of total tasks.
    std::unique_ptr<Tandry::MemoryImage> Draw(int done, int total)
    {
        app->mLoadingTasksDone = done;
        app->mLoadingTasksTotal = total;
        auto target = std::make_unique<Tandry::MemoryImage>();
        target->Create(100, 8);
        Tandry::Graphics g(target.get());
        screen->Draw(&g);
        return target;
    }
    // Opaque pictures blend onto the target within one step per channel.
    static bool IsLamp(uint32_t pixel)
    {
        return (pixel >> 24) == 0xFF && ((pixel >> 16) & 0xFF) < 2 && ((pixel >> 8) & 0xFF) >= 0xFE &&
               (pixel & 0xFF) < 2;
    }
    // The lamps standing at x0 + i × lamp width on row y, counted from the left
    // until the first place without one.
    static int LampsInRow(Tandry::MemoryImage& image, int x0, int y)
    {
        int lamps = 0;
        while (x0 + lamps * kLampWidth < image.mWidth && IsLamp(image.GetBits()[y * image.mWidth + x0 + lamps * kLampWidth]))
            ++lamps;
        return lamps;
    }

    // Made after the game object: it installs itself in the game's place.
    std::unique_ptr<Host> host;
    std::unique_ptr<Tandry::LoadingScreen> screen;
    bool lampPicture = true;
};

TEST_F(LoadingScreenTest, LampsLightForTheShareOfFinishedTasks)
{
    WriteLayout("[layers]\nline=6 3 0 0 0 0 1\nlamp=50 6 0 0 0 0 2\n");
    struct Case {
        int done;
        int total;
        int lamps;
    };
    // 0.5 × 37 = 18.5 lights 18; more done than total lights no more than all.
    for (const Case& c : {Case{5, 10, 18}, Case{10, 10, 37}, Case{0, 10, 0}, Case{3, 0, 0}, Case{1, 37, 1},
                          Case{36, 37, 36}, Case{12, 10, 37}}) {
        SCOPED_TRACE(std::to_string(c.done) + " of " + std::to_string(c.total));
        std::unique_ptr<Tandry::MemoryImage> image = Draw(c.done, c.total);
        EXPECT_EQ(LampsInRow(*image, 6, 3), c.lamps);
        // The lamp's own place in the layout stays empty: the screen draws it.
        EXPECT_EQ(image->GetBits()[6 * 100 + 50], 0u);
    }
}

TEST_F(LoadingScreenTest, ALayoutWithoutLampOrLineStillDraws)
{
    std::string debug;
    Platform::SetDebugSink([&](const std::string& text) { debug += text; });

    WriteLayout("[layers]\nline=6 3 0 0 0 0 1\n");
    EXPECT_NE(debug.find("\"lamp\""), std::string::npos);
    std::unique_ptr<Tandry::MemoryImage> image = Draw(10, 10);
    EXPECT_EQ(LampsInRow(*image, 6, 3), 0);

    // Without "line" the row starts at (0, 0).
    debug.clear();
    WriteLayout("[layers]\nlamp=50 6 0 0 0 0 2\n");
    EXPECT_NE(debug.find("\"line\""), std::string::npos);
    EXPECT_EQ(debug.find("\"lamp\""), std::string::npos);
    image = Draw(10, 10);
    EXPECT_EQ(LampsInRow(*image, 0, 0), 37);

    // A lamp entry whose picture is missing draws nothing either.
    debug.clear();
    lampPicture = false;
    WriteLayout("[layers]\nline=6 3 0 0 0 0 1\nlamp=50 6 0 0 0 0 2\n");
    EXPECT_NE(debug.find("\"lamp\""), std::string::npos);
    image = Draw(10, 10);
    EXPECT_EQ(LampsInRow(*image, 6, 3), 0);
    Platform::SetDebugSink(nullptr);
}

TEST_F(LoadingScreenTest, AMissingLayoutGivesAnEmptyScreen)
{
    screen = std::make_unique<Tandry::LoadingScreen>();
    std::unique_ptr<Tandry::MemoryImage> image = Draw(10, 10);
    for (int i = 0; i < image->mWidth * image->mHeight; ++i)
        ASSERT_EQ(image->GetBits()[i], 0u);
}

} // namespace

namespace {

TEST_F(LoadingScreenTest, AnUpdateRedrawsOnlyWhenATaskHasFinishedSinceTheLastDrawing)
{
    screen = std::make_unique<Tandry::LoadingScreen>();
    Draw(0, 3);
    screen->dirty = false;
    screen->Update();
    EXPECT_FALSE(screen->dirty);

    // As the loading thread counts a task.
    Tandry::AdvanceLoadingProgress();
    EXPECT_EQ(app->mLoadingTasksDone, 1);
    screen->Update();
    EXPECT_TRUE(screen->dirty);

    std::unique_ptr<Tandry::MemoryImage> image = Draw(1, 3);
    screen->dirty = false;
    screen->Update();
    EXPECT_FALSE(screen->dirty);
    // Loading is not over, so the screen stays whatever the time.
    EXPECT_FALSE(screen->handedOver);
}

} // namespace
