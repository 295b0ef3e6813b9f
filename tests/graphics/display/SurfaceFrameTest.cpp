// The 2D frame of the software drawing into surfaces, end to end: drawn
// through the drawing context into the screen image of a headless display on
// a 32-bit and a 565 desktop, windowed and full screen, presented, and
// compared with the same frame worked out by the transcription of the blit,
// fill and line formulas and the read-back rule.
#include "graphics/context/Graphics.h"
#include "graphics/display/DDImage.h"
#include "graphics/display/DDInterface.h"
#include "graphics/display/DisplayTestSupport.h"
#include "graphics/display/FrameScene.h"
#include "graphics/display/SurfaceReference.h"
#include "graphics/types/Color.h"

#include <gtest/gtest.h>

#include <bit>
#include <memory>
#include <vector>

namespace {

using Tandry::Color;
using Tandry::Rect;

constexpr int kWidth = DisplayTest::FrameScene::kWidth;
constexpr int kHeight = DisplayTest::FrameScene::kHeight;
constexpr int kSprite = 24;

// Runs of alpha 0 on the left, 255 on the right and every partial value
// between, in many colours.
std::vector<uint32_t> SpritePixels()
{
    std::vector<uint32_t> pixels;
    for (int y = 0; y < kSprite; ++y) {
        for (int x = 0; x < kSprite; ++x) {
            const uint32_t a = x < 4 ? 0u : x >= 18 ? 255u : static_cast<uint32_t>(x * 13 + y * 29) & 0xFFu;
            const uint32_t rgb = (static_cast<uint32_t>(x * 37 + y * 101) * 2654435761u) >> 8;
            pixels.push_back(a << 24 | rgb);
        }
    }
    return pixels;
}

// The model's view of a source: its flags follow from its pixels.
SurfaceReference::Source ModelSource(const std::vector<uint32_t>& pixels)
{
    SurfaceReference::Source s;
    s.width = kSprite;
    s.height = kSprite;
    s.argb = pixels;
    for (uint32_t p : pixels) {
        const uint32_t a = p >> 24;
        s.hasTrans = s.hasTrans || a == 0;
        s.hasAlpha = s.hasAlpha || (a != 0 && a != 255);
    }
    return s;
}

// Read-back: each channel's field moved to the top of its byte, alpha 255.
uint32_t ReadBack(const SurfaceReference::Layout& layout, uint32_t word)
{
    uint32_t argb = 0xFF000000u;
    const uint32_t masks[3] = {layout.red, layout.green, layout.blue};
    for (int i = 0; i < 3; ++i) {
        const int bits = std::popcount(masks[i]);
        const int shift = std::countr_zero(masks[i]);
        argb |= (((word >> shift) << (8 - bits)) & 0xFFu) << (16 - 8 * i);
    }
    return argb;
}

struct Line {
    int x1, y1, x2, y2;
    Color color;
};

const Line kLines[] = {{600, 300, 900, 420, Color(0, 255, 128)}, {610, 500, 700, 700, Color(255, 255, 255, 128)}};

// Where each sprite goes and how it is drawn.
struct SpriteCall {
    int x, y;
    Color color;
    int drawMode;
    bool mirrored;
};

const SpriteCall kSprites[] = {
    {100, 420, Color(255, 255, 255), 0, false},      // partial alpha
    {140, 420, Color(200, 100, 50), 0, false},       // tinted
    {180, 420, Color(255, 255, 255, 128), 0, false}, // faded
    {220, 420, Color(255, 255, 255), 1, false},      // additive
    {260, 420, Color(255, 255, 255), 0, true},       // mirrored
    {300, 420, Color(90, 90, 90, 200), 0, true},     // mirrored and tinted grey
};

class SurfaceFrame : public DisplayTest::DisplayFixture {};

TEST_F(SurfaceFrame, TranslucentAndTintedDrawingThroughGraphicsReachesTheWindow)
{
    const std::vector<uint32_t> spritePixels = SpritePixels();
    for (const DisplayTest::FrameCase& c : DisplayTest::kFrameCases) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(c.desktop) << (c.windowed ? " windowed" : " full"));
        Restart();
        mHost.settings.fullScreenBits = c.FullScreenBits();
        SetDesktopFormat(c.desktop);
        MakeDisplay();
        ASSERT_EQ(c.windowed ? InitWindowed() : InitFullScreen(), 0);
        const SurfaceReference::Layout layout{mDisplay->mRGBBits, static_cast<uint32_t>(mDisplay->mRedMask),
                                              static_cast<uint32_t>(mDisplay->mGreenMask),
                                              static_cast<uint32_t>(mDisplay->mBlueMask)};
        auto sprite = DisplayTest::MakeImage(kSprite, kSprite, spritePixels);

        Tandry::Graphics g(mDisplay->mScreenImage);
        g.SetColor(Color(30, 60, 90));
        g.FillRect(0, 0, kWidth, kHeight);
        g.SetColor(Color(200, 40, 10, 100));
        g.FillRect(50, 50, 300, 200);
        g.SetColor(Color(10, 200, 250, 255));
        g.SetDrawMode(1);
        g.FillRect(200, 150, 300, 100);
        g.SetDrawMode(0);
        g.SetColor(Color(255, 255, 0));
        g.DrawRect(400, 40, 150, 90);
        for (const Line& l : kLines) {
            g.SetColor(l.color);
            g.DrawLine(l.x1, l.y1, l.x2, l.y2);
        }
        g.SetColorizeImages(true);
        for (const SpriteCall& s : kSprites) {
            g.SetColor(s.color);
            g.SetDrawMode(s.drawMode);
            if (s.mirrored)
                g.DrawImageMirror(sprite.get(), s.x, s.y);
            else
                g.DrawImage(sprite.get(), s.x, s.y);
        }
        ASSERT_TRUE(mDisplay->Redraw(nullptr));

        SurfaceReference::Surface model{layout, kWidth, kHeight,
                                        std::vector<uint32_t>(size_t{kWidth} * kHeight, 0)};
        SurfaceReference::FillRect(model, Rect(0, 0, kWidth, kHeight), Color(30, 60, 90));
        SurfaceReference::FillRect(model, Rect(50, 50, 300, 200), Color(200, 40, 10, 100));
        SurfaceReference::FillRectAdditive(model, Rect(200, 150, 300, 100), Color(10, 200, 250, 255));
        // The outline's four sides, both end pixels included; opaque, so overlaps do not matter.
        const Color yellow(255, 255, 0);
        SurfaceReference::FillRect(model, Rect(400, 40, 151, 1), yellow);
        SurfaceReference::FillRect(model, Rect(400, 130, 151, 1), yellow);
        SurfaceReference::FillRect(model, Rect(400, 40, 1, 91), yellow);
        SurfaceReference::FillRect(model, Rect(550, 40, 1, 91), yellow);
        for (const Line& l : kLines)
            SurfaceReference::DrawLine(model, l.x1, l.y1, l.x2, l.y2, l.color);
        const SurfaceReference::Source source = ModelSource(spritePixels);
        const Rect whole(0, 0, kSprite, kSprite);
        for (const SpriteCall& s : kSprites) {
            if (s.drawMode == 1)
                SurfaceReference::BltAdditive(model, source, s.x, s.y, whole, s.color, s.mirrored);
            else if (s.mirrored)
                SurfaceReference::BltMirror(model, source, s.x, s.y, whole, s.color);
            else
                SurfaceReference::Blt(model, source, s.x, s.y, whole, s.color, true);
        }
        std::vector<uint32_t> expected;
        expected.reserve(model.words.size());
        for (uint32_t word : model.words)
            expected.push_back(ReadBack(layout, word));

        const Platform::HeadlessPresenter::Frame shown = Presenter().GetLastFrame();
        ASSERT_EQ(shown.width, static_cast<uint32_t>(kWidth));
        ASSERT_EQ(shown.pixels.size(), expected.size());
        size_t wrong = 0;
        for (size_t i = 0; i < expected.size(); ++i) {
            if (shown.pixels[i] != expected[i] && wrong++ < 5)
                ADD_FAILURE() << "pixel (" << i % kWidth << ", " << i / kWidth << ") shows " << std::hex
                              << shown.pixels[i] << ", expected " << expected[i];
        }
        EXPECT_EQ(wrong, 0u);
    }
}

} // namespace
