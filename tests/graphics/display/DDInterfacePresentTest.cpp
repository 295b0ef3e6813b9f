#include "graphics/display/DDInterface.h"

#include "graphics/display/DDImage.h"
#include "graphics/display/DisplayTestSupport.h"
#include "graphics/display/FrameScene.h"
#include "graphics/types/Color.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using namespace Platform;
using DisplayTest::AsShown;
using DisplayTest::CallsOf;
using DisplayTest::MakeImage;
using DisplayTest::ReadSurface;
using Tandry::Rect;

constexpr uint32_t kRed = 0xFFFF0000;

uint32_t ShownColor(const Tandry::DDInterface& display, uint32_t argb)
{
    return AsShown(display, {argb}).front();
}

class Present : public DisplayTest::DisplayFixture {
protected:
    void Up(DDrawFormat format, bool windowed)
    {
        SetDesktopFormat(format);
        MakeDisplay();
        ASSERT_EQ(windowed ? InitWindowed() : InitFullScreen(), 0);
    }

    // A frame whose every pixel differs from its neighbours, written straight
    // into the draw surface; returns it as the window should show it.
    std::vector<uint32_t> DrawPattern()
    {
        DDSURFACEDESC desc;
        desc.dwSize = sizeof(desc);
        EXPECT_EQ(mDisplay->mDrawSurface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
        auto* row = static_cast<uint8_t*>(desc.lpSurface);
        for (uint32_t y = 0; y < desc.dwHeight; ++y, row += desc.lPitch) {
            for (uint32_t x = 0; x < desc.dwWidth; ++x) {
                const uint32_t word = (x * 2654435761u) ^ (y * 40503u);
                if (desc.ddpfPixelFormat.dwRGBBitCount == 16)
                    reinterpret_cast<uint16_t*>(row)[x] = static_cast<uint16_t>(word);
                else
                    reinterpret_cast<uint32_t*>(row)[x] = word & 0xFFFFFF;
            }
        }
        mDisplay->mDrawSurface->Unlock(nullptr);
        return ReadSurface(mDisplay->mDrawSurface);
    }

    std::vector<uint32_t> Shown() { return Presenter().GetLastFrame().pixels; }

    // An opaque square cursor picture.
    void SetCursor(int size, uint32_t color)
    {
        mCursor = MakeImage(size, size, std::vector<uint32_t>(static_cast<size_t>(size) * size, color));
        mDisplay->SetCursorImage(mCursor.get());
    }

    void MoveCursor(int x, int y)
    {
        mDisplay->mCursorX = x;
        mDisplay->mCursorY = y;
    }

    std::unique_ptr<Tandry::MemoryImage> mCursor;
};

TEST_F(Present, NothingBeforeASuccessfulInit)
{
    MakeDisplay();
    EXPECT_FALSE(mDisplay->Redraw(nullptr));
    EXPECT_TRUE(CallLog().empty());

    Inject({DDrawOp::CreateClipper, DSERR_GENERIC});
    ASSERT_NE(InitWindowed(), 0);
    DDrawRuntime::Get().ClearCallLog();
    EXPECT_FALSE(mDisplay->Redraw(nullptr));
    EXPECT_TRUE(CallLog().empty());
    EXPECT_EQ(Presenter().GetPresentCount(), 0u);
}

TEST_F(Present, WindowedShowsTheDrawSurface)
{
    for (DDrawFormat format : {DDrawFormat::X8R8G8B8, DDrawFormat::R5G6B5}) {
        SCOPED_TRACE(static_cast<int>(format));
        Restart();
        Up(format, true);
        const std::vector<uint32_t> frame = DrawPattern();
        const uint32_t before = Presenter().GetPresentCount();
        ASSERT_TRUE(mDisplay->Redraw(nullptr));
        EXPECT_EQ(Presenter().GetPresentCount(), before + 1);
        EXPECT_EQ(Shown(), frame);
    }
}

TEST_F(Present, ADirtyRectangleIsPresentedAtTheClientOrigin)
{
    Up(DDrawFormat::X8R8G8B8, true);
    DDrawRuntime::Get().ClearCallLog();
    Rect dirty(10, 20, 30, 40);
    ASSERT_TRUE(mDisplay->Redraw(&dirty));
    const std::vector<DDrawCall> blits = CallsOf(CallLog(), DDrawOp::Blt);
    ASSERT_EQ(blits.size(), 1u);
    EXPECT_EQ(blits[0].caps & DDSCAPS_PRIMARYSURFACE, DDSCAPS_PRIMARYSURFACE);
    EXPECT_EQ(blits[0].destRect, (RECT{458, 176, 488, 216}));
    EXPECT_EQ(blits[0].sourceRect, (RECT{10, 20, 40, 60}));
    EXPECT_EQ(blits[0].flags, DDBLT_WAIT);
    // The draw surface is locked and unlocked once before presenting.
    const std::vector<DDrawCall> locks = CallsOf(CallLog(), DDrawOp::Lock);
    ASSERT_EQ(locks.size(), 1u);
    EXPECT_EQ(locks[0].flags, DDLOCK_WAIT | DDLOCK_READONLY);
}

TEST_F(Present, WithoutACursorImageNoCursorSurfaceIsTouched)
{
    Up(DDrawFormat::X8R8G8B8, true);
    MoveCursor(100, 100);
    DDrawRuntime::Get().ClearCallLog();
    ASSERT_TRUE(mDisplay->Redraw(nullptr));
    for (const DDrawCall& call : CallLog()) {
        EXPECT_TRUE(call.op == DDrawOp::Lock || call.op == DDrawOp::Unlock || call.op == DDrawOp::Blt)
            << DDrawOpName(call.op);
        if (call.op == DDrawOp::Blt) {
            EXPECT_TRUE(call.caps & DDSCAPS_PRIMARYSURFACE);
        }
    }
    EXPECT_FALSE(mDisplay->mCursorAreaSaved);
}

TEST_F(Present, ACursorNearTheCornerIsCutToThePresentation)
{
    Up(DDrawFormat::X8R8G8B8, true);
    SetCursor(32, kRed);
    MoveCursor(40, 40);
    DDrawRuntime::Get().ClearCallLog();
    ASSERT_TRUE(mDisplay->Redraw(nullptr));
    EXPECT_EQ(mDisplay->mCursorDrawnX.load(), 40);
    const std::vector<DDrawCall> blits = CallsOf(CallLog(), DDrawOp::Blt);
    ASSERT_GE(blits.size(), 3u);
    // Saved from the draw surface into the old area, presented, put back.
    EXPECT_EQ(blits.front().destRect, (RECT{24, 24, 128, 128}));
    EXPECT_EQ(blits.front().sourceRect, (RECT{0, 0, 104, 104}));
    EXPECT_EQ(blits.back().destRect, (RECT{0, 0, 104, 104}));
    EXPECT_EQ(blits.back().sourceRect, (RECT{24, 24, 128, 128}));
    EXPECT_FALSE(mDisplay->mCursorAreaSaved);
}

TEST_F(Present, TheCursorIsShownAndTheFrameKeptClean)
{
    for (DDrawFormat format : {DDrawFormat::X8R8G8B8, DDrawFormat::R5G6B5}) {
        SCOPED_TRACE(static_cast<int>(format));
        Restart();
        Up(format, true);
        const std::vector<uint32_t> frame = DrawPattern();
        SetCursor(32, kRed);
        MoveCursor(100, 100);
        ASSERT_TRUE(mDisplay->Redraw(nullptr));
        const auto& shown = Presenter();
        const uint32_t red = ShownColor(*mDisplay, kRed);
        // Centred on the position: the top-left corner lands at (84, 84).
        EXPECT_EQ(shown.GetWindowPixel(84, 84), red);
        EXPECT_EQ(shown.GetWindowPixel(115, 115), red);
        EXPECT_EQ(shown.GetWindowPixel(83, 84), frame[84 * 1024 + 83]);
        EXPECT_EQ(shown.GetWindowPixel(116, 115), frame[115 * 1024 + 116]);
        EXPECT_EQ(ReadSurface(mDisplay->mDrawSurface), frame);
    }
}

TEST_F(Present, ALargeCursorLeavesNoTrace)
{
    Up(DDrawFormat::X8R8G8B8, true);
    const std::vector<uint32_t> frame = DrawPattern();
    SetCursor(200, kRed);
    MoveCursor(300, 300);
    ASSERT_TRUE(mDisplay->Redraw(nullptr));
    // Cut to the 128 x 128 area around the position.
    EXPECT_EQ(Presenter().GetWindowPixel(236, 236), kRed);
    EXPECT_EQ(Presenter().GetWindowPixel(363, 363), kRed);
    EXPECT_EQ(Presenter().GetWindowPixel(235, 300), frame[300 * 1024 + 235]);
    EXPECT_EQ(Presenter().GetWindowPixel(364, 300), frame[300 * 1024 + 364]);
    EXPECT_EQ(ReadSurface(mDisplay->mDrawSurface), frame);
}

TEST_F(Present, WithTheScreenInVideoMemoryTheCursorIsComposed)
{
    Up(DDrawFormat::X8R8G8B8, true);
    mDisplay->SetScreenInVideoMemory(true);
    ASSERT_TRUE(mDisplay->mScreenInVideoMemory);
    const std::vector<uint32_t> screen = ReadSurface(mDisplay->mSecondarySurface);
    SetCursor(32, kRed);
    MoveCursor(100, 100);
    ASSERT_TRUE(mDisplay->Redraw(nullptr));
    EXPECT_EQ(Presenter().GetWindowPixel(84, 84), kRed);
    EXPECT_EQ(Presenter().GetWindowPixel(83, 84), screen[84 * 1024 + 83]);
    EXPECT_EQ(ReadSurface(mDisplay->mSecondarySurface), screen);
}

TEST_F(Present, FullScreenFlipsTheFrameWithTheCursor)
{
    for (DDrawFormat mode16 : {DDrawFormat::R5G6B5, DDrawFormat::X1R5G5B5}) {
        SCOPED_TRACE(static_cast<int>(mode16));
        Restart();
        DDrawSettings settings = Settings();
        settings.mode16Format = mode16;
        SetSettings(settings);
        Up(DDrawFormat::X8R8G8B8, false);
        std::vector<uint32_t> frame = DrawPattern();
        SetCursor(32, kRed);
        MoveCursor(100, 100);
        DDrawRuntime::Get().ClearCallLog();
        ASSERT_TRUE(mDisplay->Redraw(nullptr));
        EXPECT_EQ(CallsOf(CallLog(), DDrawOp::Flip).size(), 1u);
        const Platform::HeadlessPresenter::Frame shown = Presenter().GetLastFrame();
        ASSERT_EQ(shown.width, 1024u);
        ASSERT_EQ(shown.height, 768u);
        for (int y = 84; y < 116; ++y) {
            for (int x = 84; x < 116; ++x)
                frame[static_cast<size_t>(y) * 1024 + x] = ShownColor(*mDisplay, kRed);
        }
        EXPECT_EQ(shown.pixels, frame);
        // The back buffer does not keep the cursor.
        EXPECT_EQ(ReadSurface(mDisplay->mSecondarySurface)[100 * 1024 + 100],
                  ReadSurface(mDisplay->mDrawSurface)[100 * 1024 + 100]);
    }
}

TEST_F(Present, FullScreenUnderASystemDialogBlitsWithoutTheCursor)
{
    Up(DDrawFormat::X8R8G8B8, false);
    const std::vector<uint32_t> frame = DrawPattern();
    SetCursor(32, kRed);
    MoveCursor(100, 100);
    mHost.settings.systemPopupShowing = true;
    DDrawRuntime::Get().ClearCallLog();
    ASSERT_TRUE(mDisplay->Redraw(nullptr));
    EXPECT_TRUE(CallsOf(CallLog(), DDrawOp::Flip).empty());
    const std::vector<DDrawCall> blits = CallsOf(CallLog(), DDrawOp::Blt);
    ASSERT_EQ(blits.size(), 1u);
    EXPECT_TRUE(blits[0].caps & DDSCAPS_PRIMARYSURFACE);
    EXPECT_EQ(Presenter().GetLastFrame().pixels, frame);
}

TEST_F(Present, FailuresAreReportedWithTheirOperation)
{
    struct Case {
        const char* name;
        bool windowed;
        bool popup;
        DDrawFault fault;
        std::string text;
    };
    const Case cases[] = {
        {"windowed blit", true, false, {DDrawOp::Blt, DDERR_SURFACELOST, 1, DDSCAPS_PRIMARYSURFACE},
         "Redraw Windowed: DDERR_SURFACELOST"},
        {"flip", false, false, {DDrawOp::Flip, DDERR_SURFACELOST}, "Redraw FullScreen Flip: DDERR_SURFACELOST"},
        {"full-screen blit", false, true, {DDrawOp::Blt, DDERR_SURFACELOST, 1, DDSCAPS_PRIMARYSURFACE},
         "Redraw FullScreen Blt: DDERR_SURFACELOST"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Restart();
        Up(DDrawFormat::X8R8G8B8, c.windowed);
        mHost.settings.systemPopupShowing = c.popup;
        Inject(c.fault);
        EXPECT_FALSE(mDisplay->Redraw(nullptr));
        EXPECT_EQ(mDisplay->mErrorText, c.text);
        // The next presentation works again.
        EXPECT_TRUE(mDisplay->Redraw(nullptr));
    }
}

TEST_F(Present, ADirect3DErrorEnds3D)
{
    Up(DDrawFormat::X8R8G8B8, true);
    mDisplay->mIs3D = true;
    EXPECT_TRUE(mDisplay->Redraw(nullptr));
    EXPECT_TRUE(mDisplay->mIs3D);
    Tandry::gD3DErrorText = "DrawPrimitive: D3DERR_INVALIDCALL";
    DDrawRuntime::Get().ClearCallLog();
    EXPECT_FALSE(mDisplay->Redraw(nullptr));
    EXPECT_FALSE(mDisplay->mIs3D);
    EXPECT_TRUE(CallLog().empty());
}

TEST_F(Present, SetCursorImageTellsWhetherItChanged)
{
    MakeDisplay();
    auto picture = MakeImage(1, 1, {kRed});
    EXPECT_TRUE(mDisplay->SetCursorImage(picture.get()));
    EXPECT_FALSE(mDisplay->SetCursorImage(picture.get()));
    EXPECT_TRUE(mDisplay->SetCursorImage(nullptr));
    EXPECT_FALSE(mDisplay->SetCursorImage(nullptr));
}

TEST_F(Present, FramesDrawnThroughGraphicsReachTheWindow)
{
    for (const DisplayTest::FrameCase& c : DisplayTest::kFrameCases) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(c.desktop) << (c.windowed ? " windowed" : " full"));
        Restart();
        mHost.settings.fullScreenBits = c.FullScreenBits();
        Up(c.desktop, c.windowed);
        DisplayTest::FrameScene scene;
        scene.Draw(*mDisplay);
        ASSERT_TRUE(mDisplay->Redraw(nullptr));
        const Platform::HeadlessPresenter::Frame shown = Presenter().GetLastFrame();
        ASSERT_EQ(shown.width, 1024u);
        EXPECT_TRUE(shown.pixels == AsShown(*mDisplay, scene.Expected()));
        mDisplay->SetCursorImage(nullptr);
    }
}

} // namespace
