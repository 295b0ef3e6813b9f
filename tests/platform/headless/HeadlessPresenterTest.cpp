// The headless presenter behind the DirectDraw stand-in, driven the way the
// display presents: a windowed primary over the desktop with a clipper on the
// window, and a full-screen flip chain.
#include "platform/headless/HeadlessPresenter.h"

#include "platform/ddraw/DDrawPixelFormat.h"
#include "platform/ddraw/DDrawTestSupport.h"
#include "platform/window/WindowTestSupport.h"

#include <cstring>

namespace {

using namespace Platform;
using DDrawTest::WritePixels;

class HeadlessPresenterTest : public testing::Test {
protected:
    void SetUp() override
    {
        DDrawRuntime::Get().Reset();
        mDesktop.windows.SetScreenSize(1920, 1080);
        mWindow = mDesktop.CreateMain();
        // The client area at (448, 156).
        mDesktop.windows.MoveWindow(mWindow, 445, 130, 1030, 797);
        mObjects = std::make_unique<DDrawTest::DirectDrawBoth>();
        mDirectDraw = mObjects->dd;
        mFirst = mObjects->first;
    }
    void TearDown() override
    {
        mObjects.reset();
        DDrawRuntime::Get().Reset();
        EXPECT_EQ(DDrawRuntime::Get().LiveCount(DDrawObjectKind::Surface), 0u);
    }

    HeadlessPresenter& Presenter() { return mDesktop.platform.Presenter(); }

    IDirectDrawSurface7* Primary(uint32_t caps = DDSCAPS_PRIMARYSURFACE, uint32_t backBuffers = 0)
    {
        DDSURFACEDESC2 desc;
        desc.dwSize = sizeof(desc);
        desc.dwFlags = DDSD_CAPS | (backBuffers != 0 ? DDSD_BACKBUFFERCOUNT : 0);
        desc.dwBackBufferCount = backBuffers;
        desc.ddsCaps.dwCaps = caps;
        IDirectDrawSurface7* primary = nullptr;
        EXPECT_EQ(mDirectDraw->CreateSurface(&desc, &primary, nullptr), DD_OK);
        return primary;
    }

    // An off-screen surface in the display's format holding `pixels` (width x height words or halves).
    IDirectDrawSurface7* Picture(uint32_t width, uint32_t height, const std::vector<uint32_t>& pixels)
    {
        DDSURFACEDESC2 desc;
        desc.dwSize = sizeof(desc);
        desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
        desc.dwWidth = width;
        desc.dwHeight = height;
        desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
        IDirectDrawSurface7* surface = nullptr;
        EXPECT_EQ(mDirectDraw->CreateSurface(&desc, &surface, nullptr), DD_OK);
        WritePixels(surface, pixels);
        return surface;
    }

    WindowTestSupport::Desktop mDesktop;
    WindowHandle mWindow = nullptr;
    std::unique_ptr<DDrawTest::DirectDrawBoth> mObjects;
    IDirectDraw7* mDirectDraw = nullptr;
    IDirectDraw* mFirst = nullptr;
};

std::vector<uint32_t> Pattern(uint32_t width, uint32_t height)
{
    std::vector<uint32_t> pixels(size_t{width} * height);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<uint32_t>(i * 2654435761u); // the top byte too: the window ignores it
    return pixels;
}

TEST_F(HeadlessPresenterTest, AWindowedBlitAtTheClientOriginShowsExactlyThatPicture)
{
    ASSERT_EQ(mDirectDraw->SetCooperativeLevel(mWindow, DDSCL_NORMAL), DD_OK);
    IDirectDrawSurface7* primary = Primary();
    IDirectDrawClipper* clipper = nullptr;
    ASSERT_EQ(mDirectDraw->CreateClipper(0, &clipper, nullptr), DD_OK);
    ASSERT_EQ(clipper->SetHWnd(0, mWindow), DD_OK);
    ASSERT_EQ(primary->SetClipper(clipper), DD_OK);
    clipper->Release();
    const std::vector<uint32_t> picture = Pattern(1024, 768);
    IDirectDrawSurface7* draw = Picture(1024, 768, picture);
    EXPECT_EQ(Presenter().GetPresentCount(), 0u);

    RECT client{448, 156, 448 + 1024, 156 + 768};
    ASSERT_EQ(primary->Blt(&client, draw, nullptr, DDBLT_WAIT, nullptr), DD_OK);
    EXPECT_EQ(Presenter().GetPresentCount(), 1u);
    const HeadlessPresenter::Frame frame = Presenter().GetLastFrame();
    ASSERT_EQ(frame.width, 1024u);
    ASSERT_EQ(frame.height, 768u);
    for (size_t i = 0; i < picture.size(); ++i)
        ASSERT_EQ(frame.pixels[i], picture[i] | 0xFF000000u) << i;
    EXPECT_EQ(Presenter().GetWindowPixel(5, 7), picture[7 * 1024 + 5] | 0xFF000000u);
    EXPECT_EQ(Presenter().GetWindowPixel(1024, 0), 0u);

    // Blits into other surfaces and failed blits show nothing new.
    ASSERT_EQ(draw->Blt(nullptr, draw, nullptr, DDBLT_WAIT, nullptr), DD_OK);
    RECT outside{1900, 0, 2000, 10};
    primary->SetClipper(nullptr);
    EXPECT_EQ(primary->Blt(&outside, draw, nullptr, DDBLT_WAIT, nullptr), DDERR_INVALIDRECT);
    EXPECT_EQ(Presenter().GetPresentCount(), 1u);
    primary->Release();
    draw->Release();
}

TEST_F(HeadlessPresenterTest, PixelsBlittedOutsideTheClientAreaAreNotShown)
{
    ASSERT_EQ(mDirectDraw->SetCooperativeLevel(mWindow, DDSCL_NORMAL), DD_OK);
    IDirectDrawSurface7* primary = Primary();
    IDirectDrawSurface7* red = Picture(100, 100, std::vector<uint32_t>(100 * 100, 0x00FF0000));
    IDirectDrawSurface7* blue = Picture(100, 100, std::vector<uint32_t>(100 * 100, 0x000000FF));

    // Straddling the client area's top-left corner: only its inside shows.
    RECT corner{400, 100, 500, 200};
    ASSERT_EQ(primary->Blt(&corner, red, nullptr, DDBLT_WAIT, nullptr), DD_OK);
    // Wholly outside: the window shows nothing of it, though the frame counts.
    RECT away{0, 0, 100, 100};
    ASSERT_EQ(primary->Blt(&away, blue, nullptr, DDBLT_WAIT, nullptr), DD_OK);
    EXPECT_EQ(Presenter().GetPresentCount(), 2u);
    const HeadlessPresenter::Frame frame = Presenter().GetLastFrame();
    ASSERT_EQ(frame.width, 1024u);
    size_t redPixels = 0;
    for (uint32_t y = 0; y < frame.height; ++y) {
        for (uint32_t x = 0; x < frame.width; ++x) {
            const bool inside = x < 500 - 448 && y < 200 - 156;
            ASSERT_EQ(frame.At(x, y), inside ? 0xFFFF0000u : 0xFF000000u) << x << "," << y;
            redPixels += inside ? 1 : 0;
        }
    }
    EXPECT_EQ(redPixels, size_t{52} * 44);
    primary->Release();
    red->Release();
    blue->Release();
}

TEST_F(HeadlessPresenterTest, ASixteenBitDesktopReadsBackWithTheLowBitsZero)
{
    DDrawSettings settings;
    settings.desktopFormat = DDrawFormat::R5G6B5;
    DDrawRuntime::Get().SetSettings(settings);
    ASSERT_EQ(mDirectDraw->SetCooperativeLevel(mWindow, DDSCL_NORMAL), DD_OK);
    IDirectDrawSurface7* primary = Primary();
    IDirectDrawSurface7* picture = Picture(2, 1, {0xFFFF, 0xF800});
    RECT at{448, 156, 450, 157};
    ASSERT_EQ(primary->Blt(&at, picture, nullptr, DDBLT_WAIT, nullptr), DD_OK);
    EXPECT_EQ(Presenter().GetWindowPixel(0, 0), 0xFFF8FCF8u);
    EXPECT_EQ(Presenter().GetWindowPixel(1, 0), 0xFFF80000u);
    EXPECT_EQ(Presenter().GetWindowPixel(2, 0), 0xFF000000u);
    primary->Release();
    picture->Release();
}

TEST_F(HeadlessPresenterTest, FullScreenShowsTheWholePrimaryOnEachFlip)
{
    ASSERT_EQ(mDirectDraw->SetCooperativeLevel(mWindow, DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE), DD_OK);
    EXPECT_TRUE(mDesktop.windows.IsDesktopFullScreen(mWindow));
    ASSERT_EQ(mFirst->SetDisplayMode(640, 480, 16), DD_OK);
    IDirectDrawSurface7* primary = Primary(DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX, 1);
    DDSCAPS2 caps;
    caps.dwCaps = DDSCAPS_BACKBUFFER;
    IDirectDrawSurface7* back = nullptr;
    ASSERT_EQ(primary->GetAttachedSurface(&caps, &back), DD_OK);
    std::vector<uint32_t> picture(640 * 480);
    for (size_t i = 0; i < picture.size(); ++i)
        picture[i] = static_cast<uint32_t>(i * 40503u) & 0xFFFF;
    WritePixels(back, picture);

    ASSERT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
    ASSERT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
    EXPECT_EQ(Presenter().GetPresentCount(), 2u);
    const HeadlessPresenter::Frame frame = Presenter().GetLastFrame();
    ASSERT_EQ(frame.width, 640u);
    ASSERT_EQ(frame.height, 480u);
    for (size_t i = 0; i < picture.size(); ++i) {
        const uint32_t p = picture[i];
        const uint32_t expected = 0xFF000000u | ((p >> 11) << 3) << 16 | (((p >> 5) & 0x3F) << 2) << 8 | (p & 0x1F) << 3;
        ASSERT_EQ(frame.pixels[i], expected) << i;
    }

    ASSERT_EQ(mDirectDraw->SetCooperativeLevel(mWindow, DDSCL_NORMAL), DD_OK);
    EXPECT_FALSE(mDesktop.windows.IsDesktopFullScreen(mWindow));
    back->Release();
    primary->Release();
}

TEST_F(HeadlessPresenterTest, MonitorFrequencyAndFillComeFromTheHeadlessBackEnd)
{
    uint32_t hz = 0;
    ASSERT_EQ(mDirectDraw->GetMonitorFrequency(&hz), DD_OK);
    EXPECT_EQ(hz, 60u);
    DDrawSettings settings;
    settings.monitorFrequency = 75;
    DDrawRuntime::Get().SetSettings(settings);
    ASSERT_EQ(mDirectDraw->GetMonitorFrequency(&hz), DD_OK);
    EXPECT_EQ(hz, 75u);
    EXPECT_EQ(Presenter().GetNewSurfaceFill(), 0xCD);
}

// A primary in memory in one of the desktop formats, and what each of its
// pixels reads back as, worked out from the channel layout.
struct MemoryPrimary {
    DDrawFormat kind;
    uint32_t bytes;
    std::vector<uint8_t> memory;
    PresentedSurface view;

    MemoryPrimary(DDrawFormat format, uint32_t width, uint32_t height) : kind(format)
    {
        view.format = MakePixelFormat(format);
        bytes = format == DDrawFormat::X8R8G8B8 ? 4 : 2;
        view.width = width;
        view.height = height;
        view.pitch = static_cast<int32_t>(width * bytes + 6);
        memory.assign(size_t(view.pitch) * height, 0);
        view.pixels = memory.data();
    }
    uint32_t Raw(uint32_t x, uint32_t y) const
    {
        uint32_t v = 0;
        std::memcpy(&v, memory.data() + size_t{y} * uint32_t(view.pitch) + size_t{x} * bytes, bytes);
        return v;
    }
    uint32_t Shown(uint32_t x, uint32_t y) const
    {
        const uint32_t p = Raw(x, y);
        switch (kind) {
        case DDrawFormat::R5G6B5:
            return 0xFF000000u | ((p >> 11) << 3) << 16 | (((p >> 5) & 0x3F) << 2) << 8 | (p & 0x1F) << 3;
        case DDrawFormat::X1R5G5B5:
            return 0xFF000000u | (((p >> 10) & 0x1F) << 3) << 16 | (((p >> 5) & 0x1F) << 3) << 8 | (p & 0x1F) << 3;
        default: return 0xFF000000u | (p & 0xFFFFFF);
        }
    }
};

// Presents copy the primary's bytes and the words are made when read, so the
// window must show the same words whatever the order of presents, format
// changes, size changes and reads: a model window updated pixel by pixel at
// each present checks every read.
TEST_F(HeadlessPresenterTest, ReadsShowTheLastPresentedPixelsAcrossFormatAndSizeChanges)
{
    const DDrawFormat formats[] = {DDrawFormat::X8R8G8B8, DDrawFormat::R5G6B5, DDrawFormat::X1R5G5B5};
    const uint32_t sizes[][2] = {{37, 23}, {40, 23}, {37, 23}};
    std::vector<uint32_t> model;
    uint32_t modelWidth = 0, modelHeight = 0;
    uint32_t seed = 12345;
    const auto next = [&seed](uint32_t range) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % range;
    };
    for (int step = 0; step < 600; ++step) {
        const DDrawFormat format = formats[next(40) == 0 ? next(3) : (step / 150) % 3];
        const auto& size = sizes[(step / 200) % 3];
        MemoryPrimary primary(format, size[0], size[1]);
        for (size_t i = 0; i < primary.memory.size(); ++i)
            primary.memory[i] = static_cast<uint8_t>(next(256));
        const bool whole = next(5) == 0;
        RECT changed{};
        if (whole) {
            changed = RECT{0, 0, int32_t(size[0]), int32_t(size[1])};
        } else {
            changed.left = int32_t(next(size[0]));
            changed.top = int32_t(next(size[1]));
            changed.right = changed.left + int32_t(next(size[0] - uint32_t(changed.left) + 1));
            changed.bottom = changed.top + int32_t(next(size[1] - uint32_t(changed.top) + 1));
        }
        Presenter().Present(mWindow, true, primary.view, changed);
        if (modelWidth != size[0] || modelHeight != size[1]) {
            modelWidth = size[0];
            modelHeight = size[1];
            model.assign(size_t{modelWidth} * modelHeight, 0xFF000000u);
        }
        for (int32_t y = changed.top; y < changed.bottom; ++y)
            for (int32_t x = changed.left; x < changed.right; ++x)
                model[size_t(y) * modelWidth + size_t(x)] = primary.Shown(uint32_t(x), uint32_t(y));
        if (next(4) == 0) {
            const uint32_t x = next(modelWidth), y = next(modelHeight);
            ASSERT_EQ(Presenter().GetWindowPixel(int32_t(x), int32_t(y)), model[size_t{y} * modelWidth + x])
                << "step " << step;
        }
        if (next(6) == 0) {
            const HeadlessPresenter::Frame frame = Presenter().GetLastFrame();
            ASSERT_EQ(frame.width, modelWidth);
            ASSERT_EQ(frame.height, modelHeight);
            ASSERT_EQ(frame.pixels, model) << "step " << step;
        }
    }
    EXPECT_EQ(Presenter().GetPresentCount(), 600u);
    EXPECT_EQ(Presenter().GetLastFrame().pixels, model);
}

} // namespace
