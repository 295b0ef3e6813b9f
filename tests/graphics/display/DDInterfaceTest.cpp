#include "graphics/display/DDInterface.h"

#include "graphics/display/DDImage.h"
#include "graphics/display/DXErrorName.h"
#include "graphics/display/DisplayResult.h"
#include "graphics/display/DisplayTestSupport.h"
#include "platform/ddraw/DDrawEntryPoints.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using namespace Platform;
using DisplayTest::CallsOf;
using DisplayTest::DisplayFixture;
using Tandry::DDInterface;

constexpr uint32_t kPlain = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;

// The calls of interest, without the surface-interface queries that every
// creation through the version-7 object makes.
std::vector<DDrawCall> Significant(const std::vector<DDrawCall>& log)
{
    std::vector<DDrawCall> kept;
    for (const DDrawCall& call : log) {
        if (call.op == DDrawOp::QueryInterface && call.iid == IID_IDirectDrawSurface)
            continue;
        kept.push_back(call);
    }
    return kept;
}

using DDInterfaceInit = DisplayFixture;

TEST_F(DDInterfaceInit, WindowedMakesItsObjectsInOrder)
{
    MakeDisplay();
    ASSERT_EQ(InitWindowed(), Tandry::RESULT_OK);

    struct Expected {
        DDrawOp op;
        uint32_t caps;
        uint32_t flags;
    };
    const Expected expected[] = {
        {DDrawOp::DirectDrawCreateEx, 0, 0},
        {DDrawOp::QueryInterface, 0, 0},
        {DDrawOp::SetCooperativeLevel, 0, DDSCL_NORMAL},
        {DDrawOp::CreateSurface, DDSCAPS_PRIMARYSURFACE, DDSD_CAPS},
        {DDrawOp::CreateSurface, kPlain, DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT},
        {DDrawOp::CreateClipper, 0, 0},
        {DDrawOp::SetHWnd, 0, 0},
        {DDrawOp::SetClipper, DDSCAPS_PRIMARYSURFACE, 0},
        {DDrawOp::GetMonitorFrequency, 0, 0},
        {DDrawOp::CreateSurface, kPlain, DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT},
        {DDrawOp::CreateSurface, kPlain, DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT},
        {DDrawOp::CreateSurface, DDSCAPS_VIDEOMEMORY, DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT},
    };
    const std::vector<DDrawCall> log = Significant(CallLog());
    ASSERT_EQ(log.size(), std::size(expected));
    for (size_t i = 0; i < log.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(log[i].op, expected[i].op) << DDrawOpName(log[i].op);
        EXPECT_EQ(log[i].caps, expected[i].caps);
        EXPECT_EQ(log[i].flags, expected[i].flags);
        EXPECT_EQ(log[i].result, DD_OK);
    }
    EXPECT_EQ(log[1].iid, IID_IDirectDraw);
    EXPECT_TRUE(mDisplay->mInitialized);
    EXPECT_NE(mDisplay->mSecondarySurface, nullptr);
}

TEST_F(DDInterfaceInit, ScreenImageAdoptsTheDrawSurface)
{
    MakeDisplay();
    ASSERT_EQ(InitWindowed(), 0);
    Tandry::DDImage* screen = mDisplay->mScreenImage;
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->mSurface, mDisplay->mDrawSurface);
    EXPECT_TRUE(screen->mSurfaceAdopted);
    EXPECT_FALSE(screen->mNoDraw);
    EXPECT_FALSE(screen->mVideoMemory);
    EXPECT_FALSE(screen->mHasTrans);
    EXPECT_FALSE(screen->mHasAlpha);
    EXPECT_EQ(screen->mWidth, 1024);
    EXPECT_EQ(screen->mHeight, 768);
    for (Tandry::DDImage* area : {mDisplay->mOldCursorAreaImage, mDisplay->mNewCursorAreaImage}) {
        ASSERT_NE(area, nullptr);
        EXPECT_EQ(area->mWidth, 128);
        EXPECT_EQ(area->mHeight, 128);
        EXPECT_FALSE(area->mHasTrans || area->mHasAlpha);
    }
    EXPECT_EQ(mDisplay->mOldCursorAreaImage->mSurface, mDisplay->mOldCursorArea);
    EXPECT_EQ(mDisplay->mNewCursorAreaImage->mSurface, mDisplay->mNewCursorArea);
}

TEST_F(DDInterfaceInit, PrintsTheGeometry)
{
    MakeDisplay();
    ASSERT_EQ(InitWindowed(), 0);
    const std::string windowed = DebugText();
    EXPECT_NE(windowed.find("Application requests 1024 x  768 [ 4: 3]\n"
                            "Hack aspect is                   [ 4: 3]\n"
                            "Window is            1024 x  768 [ 4: 3]\n"
                            "Draw buffer is       1024 x  768 [ 4: 3]\n"),
              std::string::npos)
        << windowed;

    ASSERT_EQ(InitFullScreen(), 0);
    const std::string full = DebugText().substr(windowed.size());
    EXPECT_NE(full.find("Application requests 1024 x  768 [ 4: 3]\n"
                        "Desktop is           1920 x 1080 [16: 9]\n"
                        "Display is           1024 x  768 [ 4: 3]\n"
                        "Draw buffer is       1024 x  768 [ 4: 3]\n"),
              std::string::npos)
        << full;
}

TEST_F(DDInterfaceInit, ResultCodesAndErrorTexts)
{
    struct Case {
        const char* name;
        bool windowed;
        bool is3D;
        std::function<void()> arrange;
        int result;
        std::string errorText;
    };
    const auto format = [this](DDrawFormat f) { return [this, f] { SetDesktopFormat(f); }; };
    const auto fault = [this](DDrawFault f) { return [this, f] { Inject(f); }; };
    const std::string name = Tandry::DXErrorName(DSERR_GENERIC);
    const Case cases[] = {
        {"24-bit desktop", true, false, format(DDrawFormat::R8G8B8), Tandry::RESULT_INVALID_COLORDEPTH, ""},
        {"8-bit desktop", true, false, format(DDrawFormat::P8), Tandry::RESULT_INVALID_COLORDEPTH, ""},
        {"no DirectDraw", true, false, fault({DDrawOp::DirectDrawCreateEx, DSERR_GENERIC}),
         Tandry::RESULT_DD_CREATE_FAIL, "DirectDrawCreateEx: " + name},
        {"no first-version object", true, false, fault(DDrawFault::OfInterface(IID_IDirectDraw, DSERR_GENERIC)),
         Tandry::RESULT_DD_CREATE_FAIL, "QueryrInterface IID_IDirectDraw: " + name},
        {"draw surface refused", true, false, fault({DDrawOp::CreateSurface, DDERR_OUTOFVIDEOMEMORY, 1, kPlain}),
         Tandry::RESULT_SURFACE_FAIL, "CreateSurface Windowed DrawSurface: DDERR_OUTOFVIDEOMEMORY"},
        {"primary refused", true, false,
         fault({DDrawOp::CreateSurface, E_OUTOFMEMORY, 1, DDSCAPS_PRIMARYSURFACE}), Tandry::RESULT_SURFACE_FAIL,
         "CreateSurface Windowed Primary: E_OUTOFMEMORY"},
        {"clipper refused", true, false, fault({DDrawOp::CreateClipper, DSERR_GENERIC}), Tandry::RESULT_FAIL,
         "CreateClipper Windowed: " + name},
        {"exclusive mode refused", false, false, fault({DDrawOp::SetCooperativeLevel, DSERR_GENERIC}),
         Tandry::RESULT_EXCLUSIVE_FAIL, "SetCooperativeLevel FullScreen: " + name},
        {"mode refused", false, false, fault({DDrawOp::SetDisplayMode, DSERR_GENERIC}),
         Tandry::RESULT_DISPCHANGE_FAIL, "SetDisplayMode FullScreen: " + name},
        {"back buffer missing", false, false, fault({DDrawOp::GetAttachedSurface, DDERR_NOTFOUND}),
         Tandry::RESULT_SURFACE_FAIL, "GetAttachedSurface: DDERR_NOTFOUND"},
        {"full-screen clipper refused", false, false, fault({DDrawOp::CreateClipper, DSERR_GENERIC}),
         Tandry::RESULT_FAIL, "CreateClipper FullScreen: " + name},
        // With Direct3D asked for, the draw surface is in video memory and the
        // first system-memory surface is the old cursor area.
        {"cursor area refused", true, true,
         fault({DDrawOp::CreateSurface, E_OUTOFMEMORY, 1, DDSCAPS_SYSTEMMEMORY}), Tandry::RESULT_SURFACE_FAIL,
         "CreateSurface OldCursorArea: E_OUTOFMEMORY"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Restart();
        MakeDisplay();
        mDisplay->mIs3D = c.is3D;
        c.arrange();
        const int result = c.windowed ? InitWindowed() : InitFullScreen();
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(mDisplay->mErrorText, c.errorText);
        EXPECT_FALSE(mDisplay->mInitialized);
        EXPECT_FALSE(mDisplay->Redraw(nullptr));
    }
}

TEST_F(DDInterfaceInit, FullScreenModeOfAnInvalidDepthIsASurfaceFailure)
{
    DDrawSettings settings = Settings();
    settings.modeDepths = {16, 24, 32};
    SetSettings(settings);
    mHost.settings.fullScreenBits = 24;
    MakeDisplay();
    EXPECT_EQ(InitFullScreen(), Tandry::RESULT_SURFACE_FAIL);
    EXPECT_EQ(mDisplay->mErrorText, "CreateSurface FullScreen Primary: DDERR_INVALIDPIXELFORMAT");
    EXPECT_EQ(mDisplay->mPrimarySurface, nullptr);
}

TEST_F(DDInterfaceInit, FirstVersionPathWithoutDirectDrawCreateEx)
{
    DDrawSettings settings = Settings();
    settings.hasDirectDrawCreateEx = false;
    SetSettings(settings);
    MakeDisplay();
    EXPECT_EQ(Tandry::gDirectDrawCreateEx, nullptr);
    ASSERT_EQ(InitWindowed(), 0);
    EXPECT_EQ(mDisplay->mDD7, nullptr);
    EXPECT_NE(mDisplay->mDD, nullptr);
    const std::vector<DDrawCall> log = CallLog();
    EXPECT_EQ(log.front().op, DDrawOp::DirectDrawCreate);
    EXPECT_TRUE(CallsOf(log, DDrawOp::QueryInterface).empty());
    EXPECT_EQ(CallsOf(log, DDrawOp::CreateSurface).size(), 5u);
    ASSERT_NE(mDisplay->mScreenImage, nullptr);
    EXPECT_EQ(mDisplay->mScreenImage->mSurface, mDisplay->mDrawSurface);

    // A surface image is made through the same object.
    Tandry::DDImage image(mDisplay);
    const uint32_t white = 0xFFFFFFFF;
    image.SetBits(&white, 1, 1, true);
    ASSERT_TRUE(image.CreateSurface());
    EXPECT_EQ(DisplayTest::ReadSurface(image.mSurface), std::vector<uint32_t>{0xFFFFFFFF});

    mDisplay->mIs3D = true;
    EXPECT_EQ(InitWindowed(), Tandry::RESULT_D3D_INIT_FAIL);
    EXPECT_EQ(mDisplay->mErrorText.rfind("3D init error: ", 0), 0u) << mDisplay->mErrorText;
}

TEST_F(DDInterfaceInit, ThreeDInitFailsWithoutDirect3D)
{
    DDrawSettings settings = Settings();
    settings.hasDirect3D = false;
    SetSettings(settings);
    MakeDisplay();
    mDisplay->mIs3D = true;
    EXPECT_EQ(InitWindowed(), Tandry::RESULT_D3D_INIT_FAIL);
    EXPECT_EQ(mDisplay->mErrorText, "3D init error: QueryInterface IID_IDirect3D7: DSERR_NOINTERFACE");
    EXPECT_FALSE(mDisplay->mInitialized);
    // Nobody asked for the capability test: no tester, and the flag stays.
    EXPECT_EQ(mDisplay->mD3DTester, nullptr);
    EXPECT_TRUE(mDisplay->mIs3D);
}

TEST_F(DDInterfaceInit, InitAgainRemakesEverythingAndCleanupReleasesIt)
{
    MakeDisplay();
    ASSERT_EQ(InitWindowed(), 0);
    const uint32_t surfaces = Live(DDrawObjectKind::Surface);
    // The primary, the draw surface, the two cursor areas and the video-memory screen surface.
    EXPECT_EQ(surfaces, 5u);
    DDrawRuntime::Get().ClearCallLog();

    ASSERT_EQ(InitWindowed(), 0);
    EXPECT_EQ(CallsOf(CallLog(), DDrawOp::CreateSurface).size(), 5u);
    EXPECT_EQ(Live(DDrawObjectKind::Surface), surfaces);
    EXPECT_EQ(Live(DDrawObjectKind::DirectDraw), 1u);
    EXPECT_EQ(Live(DDrawObjectKind::Clipper), 1u);
    EXPECT_EQ(mDisplay->mScreenImage->mSurface, mDisplay->mDrawSurface);
    EXPECT_EQ(mHost.images.size(), 3u);

    mDisplay->Cleanup();
    EXPECT_FALSE(mDisplay->mInitialized);
    EXPECT_EQ(mDisplay->mScreenImage, nullptr);
    EXPECT_EQ(mDisplay->mOldCursorAreaImage, nullptr);
    EXPECT_TRUE(mDisplay->mImageSet.empty());
    EXPECT_TRUE(mHost.images.empty());
    for (DDrawObjectKind kind :
         {DDrawObjectKind::DirectDraw, DDrawObjectKind::Surface, DDrawObjectKind::Clipper, DDrawObjectKind::Palette})
        EXPECT_EQ(Live(kind), 0u) << static_cast<int>(kind);
}

TEST_F(DDInterfaceInit, PixelFormatAnalysis)
{
    struct Case {
        DDrawFormat format;
        int bits[3];
        int shifts[3];
        bool ordered;
    };
    const Case cases[] = {
        {DDrawFormat::R5G6B5, {5, 6, 5}, {11, 5, 0}, true},
        {DDrawFormat::X1R5G5B5, {5, 5, 5}, {10, 5, 0}, true},
        {DDrawFormat::X8R8G8B8, {8, 8, 8}, {16, 8, 0}, true},
        {DDrawFormat::BGR565, {5, 6, 5}, {0, 5, 11}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.format));
        Restart();
        SetDesktopFormat(c.format);
        MakeDisplay();
        ASSERT_EQ(InitWindowed(), 0);
        EXPECT_EQ(mDisplay->mRedBits, c.bits[0]);
        EXPECT_EQ(mDisplay->mGreenBits, c.bits[1]);
        EXPECT_EQ(mDisplay->mBlueBits, c.bits[2]);
        EXPECT_EQ(mDisplay->mRedShift, c.shifts[0]);
        EXPECT_EQ(mDisplay->mGreenShift, c.shifts[1]);
        EXPECT_EQ(mDisplay->mBlueShift, c.shifts[2]);
        EXPECT_EQ(Tandry::gDisplayRGBOrdered.load(), c.ordered);
        const std::vector<int>* tables[] = {&mDisplay->mRedAddTable, &mDisplay->mGreenAddTable,
                                            &mDisplay->mBlueAddTable};
        for (int channel = 0; channel < 3; ++channel) {
            const int max = (1 << c.bits[channel]) - 1;
            ASSERT_EQ(tables[channel]->size(), static_cast<size_t>(2 * max + 1));
            for (int i = 0; i <= 2 * max; ++i)
                ASSERT_EQ((*tables[channel])[i], std::min(i, max)) << channel << " " << i;
        }
    }

    SetDesktopFormat(DDrawFormat::R5G6B5);
    ASSERT_EQ(InitWindowed(), 0);
    EXPECT_EQ(mDisplay->mRGBBits, 16);
    EXPECT_EQ(mDisplay->mRedConvTable[255], 0xF800);
    EXPECT_EQ(mDisplay->mRedConvTable[128], 0x7800);
    EXPECT_EQ(mDisplay->mGreenConvTable[255], 0x07E0);
    EXPECT_EQ(mDisplay->mBlueConvTable[0], 0);

    SetDesktopFormat(DDrawFormat::X8R8G8B8);
    ASSERT_EQ(InitWindowed(), 0);
    EXPECT_EQ(mDisplay->mRGBBits, 32);
    for (int l = 0; l < 256; ++l) {
        ASSERT_EQ(mDisplay->mRedConvTable[l], l << 16);
        ASSERT_EQ(mDisplay->mGreenConvTable[l], l << 8);
        ASSERT_EQ(mDisplay->mBlueConvTable[l], l);
    }
}

TEST_F(DDInterfaceInit, RefreshRateIsClamped)
{
    struct Case {
        uint32_t hz;
        bool fails;
        unsigned rate;
        int millis;
        bool broken;
    };
    const Case cases[] = {
        {0, false, 60, 16, true},   {59, false, 60, 16, true},  {75, false, 75, 13, false},
        {120, false, 100, 10, true}, {60, false, 60, 16, false}, {100, false, 100, 10, false},
        {75, true, 60, 16, true},
    };
    MakeDisplay();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.hz);
        DDrawSettings settings = Settings();
        settings.monitorFrequency = c.hz;
        SetSettings(settings);
        if (c.fails)
            Inject({DDrawOp::GetMonitorFrequency, DSERR_GENERIC});
        mHost.vsyncBroken = false;
        ASSERT_EQ(InitWindowed(), 0);
        EXPECT_EQ(mDisplay->mRefreshRate, c.rate);
        EXPECT_EQ(mDisplay->mMillisPerRefresh, c.millis);
        EXPECT_EQ(mHost.vsyncBroken, c.broken);
    }
}

TEST_F(DDInterfaceInit, FullScreenPillarboxOnlyIn3DOnAWiderDesktop)
{
    struct Case {
        const char* name;
        bool is3D;
        int desktopWidth, desktopHeight;
        int result;
        RECT mode;
        Tandry::Rect presentation;
        bool corrected;
    };
    const Case cases[] = {
        {"3D, 16:9", true, 1920, 1080, Tandry::RESULT_OK, {0, 0, 1920, 1080}, {240, 0, 1440, 1080}, true},
        {"3D, 4:3", true, 1280, 960, Tandry::RESULT_OK, {0, 0, 1024, 768}, {0, 0, 1024, 768}, false},
        {"2D, 16:9", false, 1920, 1080, Tandry::RESULT_OK, {0, 0, 1024, 768}, {0, 0, 1024, 768}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Restart();
        mPlatform->Windows().SetScreenSize(c.desktopWidth, c.desktopHeight);
        MakeDisplay();
        mDisplay->mIs3D = c.is3D;
        EXPECT_EQ(InitFullScreen(), c.result);
        const std::vector<DDrawCall> log = CallLog();
        const std::vector<DDrawCall> modes = CallsOf(log, DDrawOp::SetDisplayMode);
        ASSERT_EQ(modes.size(), 1u);
        EXPECT_EQ(modes[0].destRect, c.mode);
        EXPECT_EQ(modes[0].flags, 16u);
        EXPECT_EQ(mDisplay->mPresentationRect, c.presentation);
        EXPECT_EQ(mDisplay->mAspectCorrected, c.corrected);
        // Both flip surfaces are cleared when part of the display lies outside the frame.
        int clears = 0;
        for (const DDrawCall& call : CallsOf(log, DDrawOp::Lock))
            clears += call.flags == (DDLOCK_WAIT | DDLOCK_WRITEONLY) ? 1 : 0;
        EXPECT_EQ(clears, c.corrected ? 2 : 0);
    }
}

TEST_F(DDInterfaceInit, ADesktopWithoutASizeTakesTheLogicalSize)
{
    mPlatform->Windows().SetScreenSize(0, 0);
    MakeDisplay();
    InitWindowed();
    EXPECT_EQ(mDisplay->mDesktopWidth, 1024);
    EXPECT_EQ(mDisplay->mDesktopHeight, 768);
    EXPECT_EQ(mDisplay->mDesktopAspect.numerator, 4);
    EXPECT_EQ(mDisplay->mDesktopAspect.denominator, 3);
}

TEST_F(DDInterfaceInit, ScreenBoundsAndFullScreenState)
{
    MakeDisplay();
    ASSERT_EQ(InitFullScreen(), 0);
    EXPECT_EQ(mHost.screenBounds, Tandry::Rect(0, 0, 1024, 768));
    EXPECT_TRUE(mDisplay->IsFullScreenActive());
    EXPECT_TRUE(mDisplay->HasDirectDraw());
    // Full screen: the back buffer is the secondary surface, so no video-memory surface is made.
    EXPECT_EQ(CallsOf(CallLog(), DDrawOp::CreateSurface).size(), 4u);
    DDrawRuntime::Get().ClearCallLog();
    mDisplay->RestoreDisplayMode();
    EXPECT_FALSE(mDisplay->IsFullScreenActive());
    const std::vector<DDrawCall> levels = CallsOf(CallLog(), DDrawOp::SetCooperativeLevel);
    ASSERT_EQ(levels.size(), 1u);
    EXPECT_EQ(levels[0].flags, DDSCL_NORMAL);
    // Presenting without a desktop PC flips nothing.
    mHost.settings.desktopPc = false;
    ASSERT_EQ(InitFullScreen(), 0);
    EXPECT_EQ(CallsOf(CallLog(), DDrawOp::FlipToGDISurface).size(), 1u);
}

TEST_F(DDInterfaceInit, CreateSurfaceNeedsDirectDrawAndAPrimary)
{
    MakeDisplay();
    DDSURFACEDESC2 desc;
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    desc.dwWidth = desc.dwHeight = 4;
    desc.ddsCaps.dwCaps = DDSCAPS_SYSTEMMEMORY;
    IDirectDrawSurface* surface = reinterpret_cast<IDirectDrawSurface*>(&desc);
    EXPECT_EQ(mDisplay->CreateSurface(&desc, &surface), DDERR_NOTINITIALIZED);
    EXPECT_EQ(surface, nullptr);

    // The first failure leaves DirectDraw made but no primary.
    Inject({DDrawOp::CreateSurface, DSERR_GENERIC, 1, DDSCAPS_PRIMARYSURFACE});
    InitWindowed();
    ASSERT_NE(mDisplay->mDD, nullptr);
    EXPECT_EQ(mDisplay->CreateSurface(&desc, &surface), DDERR_NOTINITIALIZED);
    EXPECT_EQ(surface, nullptr);
    mDisplay->Cleanup();
    EXPECT_EQ(Live(DDrawObjectKind::Surface), 0u);
}

TEST_F(DDInterfaceInit, ClearSurfaceZeroesEveryRow)
{
    MakeDisplay();
    ASSERT_EQ(InitWindowed(), 0);
    EXPECT_EQ(Tandry::ClearSurface(nullptr), DD_OK);
    IDirectDrawSurface* area = mDisplay->mOldCursorArea;
    // New surfaces hold the stand-in's fill pattern.
    EXPECT_EQ(DisplayTest::StoredWords(area)[0], 0xCDCDCDCDu);
    EXPECT_EQ(Tandry::ClearSurface(area), DD_OK);
    for (uint32_t word : DisplayTest::StoredWords(area))
        ASSERT_EQ(word, 0u);
    Inject({DDrawOp::Lock, DDERR_SURFACEBUSY});
    EXPECT_EQ(Tandry::ClearSurface(area), DDERR_SURFACEBUSY);
}

TEST(DDInterface, ResultNames)
{
    EXPECT_EQ(DDInterface::ResultName(0), "RESULT_OK");
    EXPECT_EQ(DDInterface::ResultName(6), "RESULT_INVALID_COLORDEPTH");
    EXPECT_EQ(DDInterface::ResultName(7), "RESULT_UNKNOWN");
    EXPECT_EQ(DDInterface::ResultName(-1), "RESULT_UNKNOWN");
}

} // namespace
