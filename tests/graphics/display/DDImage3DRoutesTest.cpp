#include "graphics/context/Graphics.h"
#include "graphics/display/D3DTestSupport.h"
#include "graphics/types/Color.h"
#include "graphics/types/Matrix3x3.h"
#include "graphics/types/Point.h"
#include "graphics/types/Rect.h"
#include "graphics/types/TriVertex.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace Platform;
using namespace Tandry;
using DisplayTest::CallsOf;
using DisplayTest::MakeImage;
using DisplayTest::VerticesOf;

class DDImage3DRoutes : public DisplayTest::D3DFixture {
protected:
    // Both forms of the screen image, which no 3D route may change.
    struct ScreenForms {
        IDirectDrawSurface* surface;
        bool hasBits;
        int changeCount;
        bool operator==(const ScreenForms&) const = default;
    };
    ScreenForms Forms() { return {Screen().mSurface, Screen().mBits != nullptr, Screen().mChangeCount}; }
};

TEST_F(DDImage3DRoutes, OpaqueSurfaceBlitGoesToDirectDraw)
{
    DDImage source(mDisplay);
    const std::vector<uint32_t> pixels(16, 0xFF204060u);
    source.SetBits(pixels.data(), 4, 4, true);
    ASSERT_TRUE(source.CreateSurface());
    const ScreenForms before = Forms();
    ClearLog();
    Screen().Blt(&source, 10, 10, Rect(0, 0, 4, 4), Color::White, 0);
    auto log = CallLog();
    EXPECT_EQ(CallsOf(log, DDrawOp::Blt).size(), 1u);
    EXPECT_TRUE(CallsOf(log, DDrawOp::DrawPrimitive).empty());
    EXPECT_EQ(ScreenPixels()[10 * 1024 + 10], 0xFF204060u);

    ClearLog();
    Screen().Blt(&source, 10, 10, Rect(0, 0, 4, 4), Color(255, 255, 255, 128), 0);
    log = CallLog();
    EXPECT_TRUE(CallsOf(log, DDrawOp::Blt).empty());
    EXPECT_EQ(CallsOf(log, DDrawOp::DrawPrimitive).size(), 1u);
    EXPECT_EQ(Forms(), before);
}

TEST_F(DDImage3DRoutes, OneToOneBlitOfA8R8G8B8KeepsEveryPixel)
{
    std::vector<uint32_t> pixels;
    for (uint32_t i = 0; i < 37 * 23; ++i)
        pixels.push_back(0xFF000000u | (i * 2654435761u >> 8));
    auto image = MakeImage(37, 23, pixels);
    image->mTextureFlags = kTextureFlagNo565;
    Screen().Blt(image.get(), 100, 50, Rect(0, 0, 37, 23), Color::White, 0);
    ASSERT_EQ(image->mTextureData->mFormat, kTextureA8R8G8B8);
    const std::vector<uint32_t> screen = ScreenPixels();
    for (int y = 0; y < 23; ++y) {
        for (int x = 0; x < 37; ++x)
            ASSERT_EQ(screen[static_cast<size_t>(50 + y) * 1024 + static_cast<size_t>(100 + x)],
                      pixels[static_cast<size_t>(y) * 37 + static_cast<size_t>(x)])
                << x << "," << y;
    }
    EXPECT_EQ(screen[49 * 1024 + 100], 0xFF000000u);
    EXPECT_EQ(screen[50 * 1024 + 137], 0xFF000000u);
}

TEST_F(DDImage3DRoutes, BltFInsideTheClipIsTexturedWithTheLinearFilter)
{
    auto image = MakeImage(20, 20, std::vector<uint32_t>(400, 0xFF808080u));
    const Rect clip(0, 0, 200, 200);
    ClearLog();
    Screen().BltF(image.get(), 10.25f, 20.5f, Rect(0, 0, 20, 20), clip, Color::White, 0);
    auto draws = Draws();
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(*draws[0].primitiveType, D3DPT_TRIANGLESTRIP);
    EXPECT_EQ(VerticesOf(draws[0])[0].x, 9.75f);
    EXPECT_EQ(VerticesOf(draws[0])[0].y, 20.0f);
    EXPECT_TRUE(gLinearFilterOn);

    ClearLog();
    Screen().BltF(image.get(), 190.0f, 20.0f, Rect(0, 0, 20, 20), clip, Color::White, 0);
    draws = Draws();
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(*draws[0].primitiveType, D3DPT_TRIANGLEFAN);
    for (const D3DVertex& v : VerticesOf(draws[0]))
        EXPECT_LE(v.x, 200.0f);

    ClearLog();
    Screen().BltF(image.get(), 500.0f, 20.0f, Rect(0, 0, 20, 20), clip, Color::White, 0);
    EXPECT_TRUE(Draws().empty());
}

TEST_F(DDImage3DRoutes, EverySlotReachesTheDeviceAndLeavesTheScreenImageAlone)
{
    auto image = MakeImage(16, 16, std::vector<uint32_t>(256, 0x80808080u));
    const Rect clip(0, 0, 1024, 768);
    const Rect src(0, 0, 16, 16);
    const Point points[] = {{0, 0}, {10, 0}, {0, 10}};
    const TriVertex triangle[1][3] = {{{0, 0, 0, 0, 0}, {10, 0, 1, 0, 0}, {0, 10, 0, 1, 0}}};
    Matrix3x3 matrix;
    matrix.LoadIdentity();
    struct Case {
        const char* name;
        std::function<void()> draw;
        bool textured;
    };
    DDImage& s = Screen();
    const Case cases[] = {
        {"PolyFill3D", [&] { EXPECT_TRUE(s.PolyFill3D(points, 3, &clip, Color::White, 0, 5, 5, true)); }, false},
        {"FillRect", [&] { s.FillRect(Rect(1, 1, 5, 5), Color::White, 0); }, false},
        {"DrawLine", [&] { s.DrawLine(1, 1, 30, 20, Color::White, 0); }, false},
        {"DrawLineAA", [&] { s.DrawLineAA(1, 1, 30, 20, Color::White, 0); }, false},
        {"Blt", [&] { s.Blt(image.get(), 3, 3, src, Color::White, 0); }, true},
        {"BltRotated", [&] { s.BltRotated(image.get(), 50, 50, src, clip, Color::White, 0, 0.5, 8, 8); }, true},
        {"StretchBlt", [&] { s.StretchBlt(image.get(), Rect(5, 5, 32, 8), src, clip, Color::White, 0, false); }, true},
        {"BltMatrix", [&] { s.BltMatrix(image.get(), 40, 40, matrix, clip, Color::White, 0, src, true); }, true},
        {"BltTrianglesTex", [&] { s.BltTrianglesTex(image.get(), triangle, 1, clip, Color::White, 0, 4, 4, true); },
         true},
        {"BltMirror", [&] { s.BltMirror(image.get(), 60, 60, src, Color::White, 0); }, true},
        {"StretchBltMirror",
         [&] { s.StretchBltMirror(image.get(), Rect(5, 5, 32, 8), src, clip, Color::White, 0, true); }, true},
    };
    const ScreenForms before = Forms();
    for (const Case& c : cases) {
        ClearLog();
        c.draw();
        const auto log = CallLog();
        ASSERT_FALSE(CallsOf(log, DDrawOp::DrawPrimitive).empty()) << c.name;
        const auto textures = CallsOf(log, DDrawOp::SetTexture);
        ASSERT_FALSE(textures.empty()) << c.name;
        EXPECT_EQ(textures.back().surface == nullptr, !c.textured) << c.name;
        EXPECT_EQ(Forms(), before) << c.name;
    }
}

TEST_F(DDImage3DRoutes, MirroredBlitsTurnTheSource)
{
    auto image = MakeImage(2, 1, {0xFFFF0000u, 0xFF0000FFu});
    image->mTextureFlags = kTextureFlagNo565;
    Screen().BltMirror(image.get(), 10, 10, Rect(0, 0, 2, 1), Color::White, 0);
    const std::vector<uint32_t> screen = ScreenPixels();
    EXPECT_EQ(screen[10 * 1024 + 10], 0xFF0000FFu);
    EXPECT_EQ(screen[10 * 1024 + 11], 0xFFFF0000u);
}

// A frame drawn through the drawing context onto the 3D screen and
// presented shows the stand-in's pixels for each call, on both desktops.
TEST_F(DDImage3DRoutes, EndToEndFrame)
{
    for (DDrawFormat desktop : {DDrawFormat::X8R8G8B8, DDrawFormat::R5G6B5}) {
        Restart();
        SetDesktopFormat(desktop);
        MakeDisplay();
        mDisplay->mIs3D = true;
        ASSERT_EQ(InitWindowed(), 0);
        const bool full = desktop == DDrawFormat::X8R8G8B8;

        auto sprite = MakeImage(
            4, 2,
            {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFFFFu, 0xFF000000u, 0xFFFFFF00u, 0xFF00FFFFu, 0xFFFF00FFu});
        sprite->mTextureFlags = kTextureFlagNo565;
        auto glass = MakeImage(2, 2, std::vector<uint32_t>(4, 0x80FFFFFFu));
        auto white = MakeImage(8, 8, std::vector<uint32_t>(64, 0xFFFFFFFFu));
        const TriVertex triangle[1][3] = {{{0, 0, 0, 0, 0}, {40, 0, 1, 0, 0}, {0, 40, 0, 1, 0}}};

        Graphics g(&Screen());
        g.SetColor(Color(0, 0, 255, 255));
        g.FillRect(50, 50, 20, 20);
        g.SetColor(Color::White);
        g.DrawImage(sprite.get(), 100, 100);
        g.DrawImage(glass.get(), 200, 200);
        g.SetColor(Color(0, 255, 0, 255));
        g.DrawLine(300, 300, 340, 300);
        g.SetColor(Color::White);
        g.DrawTrianglesTex(white.get(), triangle, 1);
        ASSERT_TRUE(mDisplay->Redraw(nullptr));
        ASSERT_TRUE(gD3DErrorText.empty()) << gD3DErrorText;

        const auto window = [&](int x, int y) { return Presenter().GetWindowPixel(x, y); };
        // A 565 screen keeps the top five, six and five bits of each channel.
        const auto shown = [&](uint32_t c) { return full ? c : c & 0xFFF8FCF8u; };
        EXPECT_EQ(window(50, 50), shown(0xFF0000FFu));
        EXPECT_EQ(window(69, 69), shown(0xFF0000FFu));
        EXPECT_EQ(window(70, 70), 0xFF000000u);
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ(window(100 + i % 4, 100 + i / 4), shown(sprite->GetPixel(i % 4, i / 4))) << i;
        // 0x80 over black: (255 * 128 + 127) / 255 in each channel.
        if (full)
            EXPECT_EQ(window(200, 200), 0xFF808080u);
        else
            EXPECT_NEAR(static_cast<int>(window(200, 200) & 255u), 128, 8);
        EXPECT_EQ(window(320, 300), shown(0xFF00FF00u));
        EXPECT_EQ(window(320, 301), 0xFF000000u);
        EXPECT_EQ(window(5, 5), shown(0xFFFFFFFFu));
        EXPECT_EQ(window(45, 45), 0xFF000000u);
        sprite.reset();
        glass.reset();
        white.reset();
    }
}

TEST_F(DDImage3DRoutes, TwoDAndThreeDShowTheSameOpaqueBlits)
{
    std::vector<uint32_t> pixels;
    for (uint32_t i = 0; i < 50 * 30; ++i)
        pixels.push_back(0xFF000000u | (i * 40503u * 977u));
    std::vector<uint32_t> shown[2];
    for (bool threeD : {false, true}) {
        Restart();
        MakeDisplay();
        mDisplay->mIs3D = threeD;
        ASSERT_EQ(InitWindowed(), 0);
        auto image = MakeImage(50, 30, pixels);
        image->mTextureFlags = kTextureFlagNo565;
        Graphics g(&Screen());
        g.DrawImage(image.get(), 7, 9);
        ASSERT_TRUE(mDisplay->Redraw(nullptr));
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 50; ++x)
                shown[threeD].push_back(Presenter().GetWindowPixel(7 + x, 9 + y));
    }
    ASSERT_EQ(shown[0].size(), shown[1].size());
    for (size_t i = 0; i < shown[0].size(); ++i)
        ASSERT_EQ(shown[0][i], shown[1][i]) << i % 50 << "," << i / 50;
}

} // namespace
