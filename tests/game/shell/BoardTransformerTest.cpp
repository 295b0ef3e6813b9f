// The transitions between two boards that fill the screen with one colour,
// driven by the headless millisecond counter: when each kind ends, what its
// frames show at given times (compared with the same picture drawn directly),
// the durations read from the settings, and the counter's wrap.
#include "game/shell/BoardTransformer.h"
#include "game/shell/BoardTransformerFade.h"
#include "game/shell/BoardTransformerFadeIn.h"
#include "game/shell/BoardTransformerPager.h"
#include "game/shell/BoardTransformerSlide.h"
#include "game/shell/BoardTransformerToMovie.h"
#include "game/shell/MakeBoardTransformer.h"
#include "graphics/display/DDImage.h"
#include "platform/headless/HeadlessPlatform.h"
#include "resources/ini/GameIni.h"

#include "TransitionTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>

namespace {

using ShellTest::ColorBoard;
using ShellTest::CountingListener;
using ShellTest::DrawFrame;
using Tandry::BoardTransformer;
using Tandry::Color;

const Color kOld(200, 40, 10);
const Color kNew(20, 60, 220);

// The screen as it should look: the whole screen in base, then a rectangle of
// cover over it, both drawn straight through Graphics.
std::vector<uint32_t> Expected(const Color& base, const Color& cover)
{
    Tandry::MemoryImage image;
    image.Create(1024, 768);
    Tandry::Graphics g(&image);
    g.SetColor(base);
    g.FillRect(0, 0, 1024, 768);
    g.SetColor(cover);
    g.FillRect(0, 0, 1024, 768);
    const uint32_t* bits = image.GetBits();
    return std::vector<uint32_t>(bits, bits + 1024 * 768);
}

uint32_t Pixel(const std::vector<uint32_t>& frame, int px, int py)
{
    return frame[static_cast<size_t>(py) * 1024 + px];
}

uint32_t Opaque(const Color& c)
{
    return c.Packed() | 0xFF000000u;
}

// An opaque texel of the colour as textured triangles with white vertex
// colours draw it: the rasteriser modulates by the vertex colour.
uint32_t ThroughWhiteVertices(const Color& c)
{
    Tandry::MemoryImage texture;
    texture.Create(4, 4);
    Tandry::Graphics tg(&texture);
    tg.SetColor(c);
    tg.FillRect(0, 0, 4, 4);
    Tandry::MemoryImage target;
    target.Create(4, 4);
    Tandry::Graphics g(&target);
    g.SetColor(Color::White);
    Tandry::TriVertex cover[2][3];
    const float corners[6][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 0}, {1, 1}, {0, 1}};
    for (int n = 0; n < 6; ++n) {
        Tandry::TriVertex& v = cover[n / 3][n % 3];
        v.u = corners[n][0];
        v.v = corners[n][1];
        v.x = 4.0f * v.u;
        v.y = 4.0f * v.v;
        v.color = 0xFFFFFFFFu;
    }
    g.DrawTrianglesTex(&texture, cover, 2);
    return target.GetBits()[5];
}

class BoardTransformerTest : public ShellTest::TransitionFixture {
protected:
    void TearDown() override
    {
        transformer.reset();
        TransitionFixture::TearDown();
    }

    // The kind as the default of every switch, with the given [Game] times,
    // made and given its first update.
    BoardTransformer* Make(const std::string& kind, const std::string& game, bool withTo = true)
    {
        Tandry::gGameIni.LoadText("[ScreenEffect]\ndefault=" + kind + "\n[Game]\n" + game);
        transformer.reset(Tandry::MakeBoardTransformer(&from, withTo ? &to : nullptr, &listener));
        transformer->Update();
        return transformer.get();
    }

    void Step(uint32_t milliseconds)
    {
        platform->Clock().Advance(milliseconds);
        transformer->Update();
    }

    ColorBoard from{"Menu", kOld};
    ColorBoard to{"Game", kNew};
    CountingListener listener;
    std::unique_ptr<BoardTransformer> transformer;
};

TEST_F(BoardTransformerTest, NoneEndsOnItsFirstUpdateOnceAndShowsBothBoards)
{
    Make("none", "ScreenFade=1.0\n");
    EXPECT_EQ(listener.ends, 1);
    EXPECT_FALSE(transformer->running);
    EXPECT_TRUE(from.visible);
    EXPECT_TRUE(to.visible);
    Step(10);
    transformer->Finish();
    EXPECT_EQ(listener.ends, 1);
}

TEST_F(BoardTransformerTest, AStartedTransitionHidesBothBoardsAndCoversThemBoth)
{
    to.Resize(100, 50, 1000, 800);
    Make("fade", "ScreenFade=1.0\n");
    EXPECT_FALSE(from.visible);
    EXPECT_FALSE(to.visible);
    EXPECT_EQ(transformer->GetRect(), Tandry::Rect(0, 0, 1100, 850));
    EXPECT_EQ(listener.ends, 0);
}

TEST_F(BoardTransformerTest, FadeGoesToBlackAtHalfTimeAndEndsOnTheNewBoard)
{
    Make("fade", "ScreenFade=1.0\n");
    EXPECT_EQ(DrawFrame(*transformer), Expected(kOld, Color(0, 0, 0, 0)));

    Step(250);
    EXPECT_EQ(DrawFrame(*transformer), Expected(kOld, Color(0, 0, 0, 127)));
    EXPECT_EQ(to.draws, 0);

    Step(250);
    const std::vector<uint32_t> black = DrawFrame(*transformer);
    EXPECT_EQ(Pixel(black, 0, 0), 0xFF000000u);
    EXPECT_EQ(black, Expected(kNew, Color(0, 0, 0, 255)));
    EXPECT_EQ(listener.ends, 0);

    Step(250);
    EXPECT_EQ(DrawFrame(*transformer), Expected(kNew, Color(0, 0, 0, 127)));
    // Steps of whole binary fractions, so the sum reaches 1.0 exactly.
    Step(125);
    EXPECT_EQ(listener.ends, 0);
    Step(125);
    EXPECT_EQ(listener.ends, 1);
    EXPECT_TRUE(from.visible);
    EXPECT_TRUE(to.visible);
    EXPECT_EQ(DrawFrame(*transformer), Expected(kNew, Color(0, 0, 0, 0)));
}

TEST_F(BoardTransformerTest, EveryKindToNoBoardEndsWhenItsFirstPhaseIsOver)
{
    struct Case {
        const char* kind;
        uint32_t firstPhaseMs;
    };
    const std::string times = "ScreenFade=1.0\nMovieFadeInTime=0.25\nMovieFadeOutTime=0.75\n";
    for (const Case& c : {Case{"fade", 500}, Case{"slide", 500}, Case{"page", 500}, Case{"to_movie", 250},
                          Case{"from_movie", 750}}) {
        SCOPED_TRACE(c.kind);
        listener.ends = 0;
        Tandry::ResetBoardTransformerDefault();
        Make(c.kind, times, false);
        Step(c.firstPhaseMs - 125);
        EXPECT_EQ(listener.ends, 0);
        Step(125);
        EXPECT_EQ(listener.ends, 1);
        EXPECT_TRUE(from.visible);
    }
}

TEST_F(BoardTransformerTest, FadeToNoBoardEndsBlack)
{
    Make("fade", "ScreenFade=1.0\n", false);
    Step(500);
    EXPECT_EQ(listener.ends, 1);
    const std::vector<uint32_t> frame = DrawFrame(*transformer);
    EXPECT_EQ(Pixel(frame, 512, 384), 0xFF000000u);
}

TEST_F(BoardTransformerTest, SlideMovesBothBoardsDownByTheProgress)
{
    Make("slide", "ScreenFade=1.0\n");
    Step(250);
    auto* slide = dynamic_cast<Tandry::BoardTransformerSlide*>(transformer.get());
    ASSERT_NE(slide, nullptr);
    EXPECT_EQ(slide->Shift(), 192);
    // The new board covers -576 .. 191, the old one 192 .. 959.
    const std::vector<uint32_t> frame = DrawFrame(*transformer);
    for (int row : {0, 191}) {
        EXPECT_EQ(Pixel(frame, 0, row), Opaque(kNew)) << row;
        EXPECT_EQ(Pixel(frame, 1023, row), Opaque(kNew)) << row;
    }
    for (int row : {192, 767}) {
        EXPECT_EQ(Pixel(frame, 0, row), Opaque(kOld)) << row;
        EXPECT_EQ(Pixel(frame, 1023, row), Opaque(kOld)) << row;
    }
}

TEST_F(BoardTransformerTest, SlideToNoBoardBringsBlackDownFromAbove)
{
    Make("slide", "ScreenFade=1.0\n", false);
    Step(250);
    const std::vector<uint32_t> frame = DrawFrame(*transformer);
    EXPECT_EQ(Pixel(frame, 500, 191), 0xFF000000u);
    EXPECT_EQ(Pixel(frame, 500, 192), Opaque(kOld));
}

TEST_F(BoardTransformerTest, PageFoldsTheOldBoardsSnapshotAwayOverTheNewBoard)
{
    Make("page", "ScreenFade=1.0\n");
    auto* pager = dynamic_cast<Tandry::BoardTransformerPager*>(transformer.get());
    ASSERT_NE(pager, nullptr);
    ASSERT_NE(pager->snapshot, nullptr);
    EXPECT_EQ(Pixel(DrawFrame(*transformer), 512, 384), ThroughWhiteVertices(kOld));
    // Drawn once into the snapshot at the start, never again.
    EXPECT_EQ(from.draws, 1);

    Step(250);
    EXPECT_FLOAT_EQ(pager->mesh.Vertex(0).y, 19.0f);
    const std::vector<uint32_t> frame = DrawFrame(*transformer);
    // The page's right edge is at 512 now.
    EXPECT_EQ(Pixel(frame, 100, 400), ThroughWhiteVertices(kOld));
    EXPECT_EQ(Pixel(frame, 900, 400), Opaque(kNew));
    EXPECT_EQ(from.draws, 1);
}

TEST_F(BoardTransformerTest, PageToNoBoardUncoversBlack)
{
    Make("page", "ScreenFade=1.0\n", false);
    Step(250);
    EXPECT_EQ(Pixel(DrawFrame(*transformer), 900, 400), 0xFF000000u);
}

TEST_F(BoardTransformerTest, FadeInDrawsTheNewBoardsSnapshotWithAlphaOfTheProgress)
{
    Make("fade_in", "ScreenFade=1.0\n");
    auto* fadeIn = dynamic_cast<Tandry::BoardTransformerFadeIn*>(transformer.get());
    ASSERT_NE(fadeIn, nullptr);
    ASSERT_NE(fadeIn->snapshot, nullptr);
    EXPECT_EQ(fadeIn->snapshot->GetBits()[0], Opaque(kNew));
    for (const int alpha : {0, 63, 127, 191}) {
        SCOPED_TRACE(alpha);
        // The snapshot is opaque kNew, so its colourised copy is kNew at that alpha.
        Tandry::MemoryImage picture;
        picture.Create(1024, 768);
        Tandry::Graphics pg(&picture);
        pg.SetColor(kNew);
        pg.FillRect(0, 0, 1024, 768);
        Tandry::MemoryImage expected;
        expected.Create(1024, 768);
        Tandry::Graphics eg(&expected);
        eg.SetColor(kOld);
        eg.FillRect(0, 0, 1024, 768);
        eg.SetColorizeImages(true);
        eg.SetColor(Color(255, 255, 255, alpha));
        eg.DrawImage(&picture, 0, 0);
        const uint32_t* bits = expected.GetBits();
        EXPECT_EQ(DrawFrame(*transformer), std::vector<uint32_t>(bits, bits + 1024 * 768));
        Step(250);
    }
    EXPECT_EQ(listener.ends, 1);
}

TEST_F(BoardTransformerTest, ToMovieGoesWhiteOverTheFirstPhaseAndBackOnTheNewBoard)
{
    Make("to_movie", "MovieFadeInTime=0.5\nMovieFadeOutTime=0.5\n");
    auto* movie = dynamic_cast<Tandry::BoardTransformerToMovie*>(transformer.get());
    ASSERT_NE(movie, nullptr);
    Step(250);
    EXPECT_EQ(DrawFrame(*transformer), Expected(kOld, Color(255, 255, 255, 127)));
    Step(250);
    EXPECT_EQ(movie->ShownBoard(), &from);
    EXPECT_EQ(DrawFrame(*transformer), Expected(kOld, Color(255, 255, 255, 255)));
    Step(125);
    EXPECT_EQ(movie->ShownBoard(), &to);
    Step(125);
    EXPECT_EQ(DrawFrame(*transformer), Expected(kNew, Color(255, 255, 255, 127)));
    Step(125);
    EXPECT_EQ(listener.ends, 0);
    Step(125);
    EXPECT_EQ(listener.ends, 1);
}

TEST_F(BoardTransformerTest, FromMovieSwapsThePhases)
{
    Make("from_movie", "MovieFadeInTime=0.25\nMovieFadeOutTime=0.5\n");
    auto* movie = dynamic_cast<Tandry::BoardTransformerToMovie*>(transformer.get());
    ASSERT_NE(movie, nullptr);
    EXPECT_EQ(movie->firstPhase, 0.5f);
    EXPECT_EQ(movie->secondPhase, 0.25f);
    Step(250);
    EXPECT_EQ(DrawFrame(*transformer), Expected(kOld, Color(255, 255, 255, 127)));
    Step(375);
    EXPECT_EQ(movie->ShownBoard(), &to);
    EXPECT_EQ(DrawFrame(*transformer), Expected(kNew, Color(255, 255, 255, 127)));
    EXPECT_EQ(listener.ends, 0);
    Step(125);
    EXPECT_EQ(listener.ends, 1);
}

TEST_F(BoardTransformerTest, ATimeThatIsNoFiniteNumberOfAtLeastZeroEndsAtOnce)
{
    struct Case {
        const char* text;
        float seconds;
    };
    for (const Case& c : {Case{"0.25", 0.25f}, Case{"nan", 0.0f}, Case{"inf", 0.0f}, Case{"-1", 0.0f},
                          Case{"-inf", 0.0f}, Case{"1e39", 0.0f}, Case{"", 0.0f}, Case{"0", 0.0f}}) {
        SCOPED_TRACE(c.text);
        Tandry::ResetGameIni();
        Tandry::gGameIni.LoadText(std::string("[Game]\nScreenFade=") + c.text + "\n");
        EXPECT_EQ(BoardTransformer::ReadSeconds("ScreenFade"), c.seconds);
    }
    for (const char* kind : {"fade", "slide", "page", "fade_in", "to_movie", "from_movie"}) {
        SCOPED_TRACE(kind);
        listener.ends = 0;
        Tandry::ResetBoardTransformerDefault();
        Tandry::ResetGameIni();
        Make(kind, "ScreenFade=nan\nMovieFadeInTime=-3\nMovieFadeOutTime=inf\n");
        EXPECT_EQ(listener.ends, 1);
        // Drawn after its end, nothing divides by zero and the frame is whole.
        EXPECT_EQ(DrawFrame(*transformer).size(), 1024u * 768u);
    }
}

TEST(BoardTransformerProgress, IsClampedAndNeverDividesByZero)
{
    struct Case {
        float elapsed;
        float duration;
        float p;
    };
    const float inf = std::numeric_limits<float>::infinity();
    for (const Case& c : {Case{0.25f, 1.0f, 0.25f}, Case{3.0f, 1.0f, 1.0f}, Case{0.0f, 0.0f, 1.0f},
                          Case{inf, 1.0f, 1.0f}, Case{inf, inf, 0.0f}, Case{1.0f, inf, 0.0f}}) {
        EXPECT_EQ(BoardTransformer::Progress(c.elapsed, c.duration), c.p) << c.elapsed << " / " << c.duration;
    }
}

// A counter started just below 2^32 wraps between two updates.
TEST(BoardTransformerClock, AWrapOfTheMillisecondCounterGivesASmallStep)
{
    Platform::HeadlessPlatform::Options options;
    options.startTick = 0xFFFFFFFEu;
    Platform::HeadlessPlatform& headless = Platform::InstallHeadlessPlatform(options);
    Tandry::ResetGameIni();
    Tandry::gGameIni.LoadText("[Game]\nScreenFade=10\n");
    {
        ColorBoard from("Menu", kOld);
        ColorBoard to("Game", kNew);
        Tandry::BoardTransformerFade fade;
        fade.fromBoard = &from;
        fade.toBoard = &to;
        fade.Update();
        EXPECT_EQ(fade.lastTime, 0xFFFFFFFEu);
        EXPECT_EQ(fade.elapsed, 0.0f);
        headless.Clock().Advance(5);
        fade.Update();
        EXPECT_EQ(fade.lastTime, 3u);
        EXPECT_FLOAT_EQ(fade.elapsed, 0.005f);
        headless.Clock().Advance(7);
        fade.Update();
        EXPECT_FLOAT_EQ(fade.elapsed, 0.012f);
    }
    Tandry::ResetGameIni();
    Platform::ResetPlatform();
}

} // namespace
