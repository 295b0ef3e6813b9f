// The SDL presenter under the dummy video driver and the software renderer,
// read back from the renderer: windowed it shows the primary's client
// rectangle, in full screen the whole mode-sized primary scaled with its
// aspect kept. Colours have channels of 0 or full scale, so every format
// reads back as the same colour (SDL widens a 5- or 6-bit full channel to
// 0xF8 or 0xFC, not 0xFF, so channels compare within 7).
#include "platform/sdl/SdlPresenter.h"

#include "platform/d3d/D3DConstants.h"
#include "platform/d3d/D3DInterfaces.h"
#include "platform/ddraw/DDrawTestSupport.h"
#include "platform/sdl/SdlDesktop.h"

#include <cstring>

namespace {

using namespace Platform;

// The eight colours with channels 0 or full, in 32 and 16 bits.
const uint32_t kArgb[8] = {0xFF000000, 0xFFFF0000, 0xFF00FF00, 0xFF0000FF,
                           0xFFFFFF00, 0xFFFF00FF, 0xFF00FFFF, 0xFFFFFFFF};
const uint32_t k565[8] = {0x0000, 0xF800, 0x07E0, 0x001F, 0xFFE0, 0xF81F, 0x07FF, 0xFFFF};

bool SameColour(uint32_t a, uint32_t b)
{
    for (int shift = 0; shift < 32; shift += 8) {
        const int ca = static_cast<int>((a >> shift) & 0xFF), cb = static_cast<int>((b >> shift) & 0xFF);
        if (ca - cb > 7 || cb - ca > 7)
            return false;
    }
    return true;
}

// Blocks of `block` pixels, each a colour chosen by its place.
uint32_t ColourIndexAt(uint32_t x, uint32_t y, uint32_t block) { return (x / block + 3 * (y / block)) % 8; }

class SdlPresenterTest : public SdlDesktop::Fixture {
protected:
    void SetUp() override
    {
        SdlDesktop::Fixture::SetUp();
        DDrawRuntime::Get().Reset();
        mObjects = std::make_unique<DDrawTest::DirectDrawBoth>();
        mDirectDraw = mObjects->dd;
        mFirst = mObjects->first;
    }
    void TearDown() override
    {
        mObjects.reset();
        DDrawRuntime::Get().Reset();
        SdlDesktop::Fixture::TearDown();
    }

    SdlPresenter& Presenter() { return static_cast<SdlPresenter&>(mPlatform->GetPresenter()); }

    IDirectDrawSurface7* Create(DDSURFACEDESC2 desc)
    {
        desc.dwSize = sizeof(desc);
        IDirectDrawSurface7* surface = nullptr;
        EXPECT_EQ(mDirectDraw->CreateSurface(&desc, &surface, nullptr), DD_OK);
        return surface;
    }

    // Fills a surface of the display's format with colour blocks.
    static void Paint(IDirectDrawSurface7* surface, uint32_t block)
    {
        DDSURFACEDESC2 lock;
        lock.dwSize = sizeof(lock);
        ASSERT_EQ(surface->Lock(nullptr, &lock, DDLOCK_WAIT, nullptr), DD_OK);
        const bool sixteen = lock.ddpfPixelFormat.dwRGBBitCount == 16;
        for (uint32_t y = 0; y < lock.dwHeight; ++y) {
            for (uint32_t x = 0; x < lock.dwWidth; ++x) {
                const uint32_t i = ColourIndexAt(x, y, block);
                uint8_t* at = static_cast<uint8_t*>(lock.lpSurface) + y * lock.lPitch;
                if (sixteen) {
                    const uint16_t v = static_cast<uint16_t>(k565[i]);
                    std::memcpy(at + x * 2, &v, 2);
                } else {
                    const uint32_t v = kArgb[i] & 0xFFFFFF;
                    std::memcpy(at + x * 4, &v, 4);
                }
            }
        }
        ASSERT_EQ(surface->Unlock(nullptr), DD_OK);
    }

    std::unique_ptr<DDrawTest::DirectDrawBoth> mObjects;
    IDirectDraw7* mDirectDraw = nullptr;
    IDirectDraw* mFirst = nullptr;
};

DDSURFACEDESC2 PrimaryDesc(uint32_t caps, uint32_t backBuffers)
{
    DDSURFACEDESC2 desc;
    desc.dwFlags = DDSD_CAPS | (backBuffers != 0 ? DDSD_BACKBUFFERCOUNT : 0);
    desc.dwBackBufferCount = backBuffers;
    desc.ddsCaps.dwCaps = caps;
    return desc;
}

TEST_F(SdlPresenterTest, WindowedShowsThePrimarysClientRectangle)
{
    for (const DDrawFormat desktopFormat : {DDrawFormat::X8R8G8B8, DDrawFormat::R5G6B5}) {
        SCOPED_TRACE(desktopFormat == DDrawFormat::R5G6B5 ? "565 desktop" : "8888 desktop");
        DDrawSettings settings;
        settings.desktopFormat = desktopFormat;
        DDrawRuntime::Get().SetSettings(settings);
        // The dummy desktop is 1024 x 768; the client area starts at (16, 8) on it.
        WindowHandle window = CreateMain(16, 8, 1024, 768);
        ASSERT_EQ(mDirectDraw->SetCooperativeLevel(window, DDSCL_NORMAL), DD_OK);
        IDirectDrawSurface7* primary = Create(PrimaryDesc(DDSCAPS_PRIMARYSURFACE, 0));
        DDSURFACEDESC2 seen;
        seen.dwSize = sizeof(seen);
        ASSERT_EQ(primary->GetSurfaceDesc(&seen), DD_OK);
        ASSERT_EQ(seen.dwWidth, 1024u);
        ASSERT_EQ(seen.dwHeight, 768u);
        DDSURFACEDESC2 drawDesc;
        drawDesc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
        drawDesc.dwWidth = 1024;
        drawDesc.dwHeight = 768;
        drawDesc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
        IDirectDrawSurface7* draw = Create(drawDesc);
        Paint(draw, 1);
        // The whole desktop, as the window's part of it and beyond.
        ASSERT_EQ(primary->Blt(nullptr, draw, nullptr, DDBLT_WAIT, nullptr), DD_OK);

        int32_t width = 0, height = 0;
        const std::vector<uint32_t> shown = Presenter().ReadWindowPixels(window, width, height);
        ASSERT_EQ(width, 1024);
        ASSERT_EQ(height, 768);
        for (int32_t y = 0; y < height; ++y) {
            for (int32_t x = 0; x < width; ++x) {
                const int32_t px = x + 16, py = y + 8;
                const uint32_t expected =
                    px < 1024 && py < 768 ? kArgb[ColourIndexAt(static_cast<uint32_t>(px), static_cast<uint32_t>(py), 1)]
                                          : 0xFF000000u;
                ASSERT_PRED2(SameColour, shown[static_cast<size_t>(y) * 1024 + x], expected) << x << "," << y;
            }
        }
        primary->Release();
        draw->Release();
        mWindows->DestroyWindow(window);
    }
}

TEST_F(SdlPresenterTest, OnlyTheChangedPartIsUploaded)
{
    WindowHandle window = CreateMain(0, 0, 1024, 768);
    ASSERT_EQ(mDirectDraw->SetCooperativeLevel(window, DDSCL_NORMAL), DD_OK);
    IDirectDrawSurface7* primary = Create(PrimaryDesc(DDSCAPS_PRIMARYSURFACE, 0));
    DDSURFACEDESC2 desc;
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    desc.dwWidth = 64;
    desc.dwHeight = 64;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    IDirectDrawSurface7* tile = Create(desc);
    Paint(tile, 1);
    RECT at{100, 200, 164, 264};
    ASSERT_EQ(primary->Blt(&at, tile, nullptr, DDBLT_WAIT, nullptr), DD_OK);
    int32_t width = 0, height = 0;
    std::vector<uint32_t> shown = Presenter().ReadWindowPixels(window, width, height);
    ASSERT_EQ(shown.size(), size_t{1024} * 768);
    EXPECT_PRED2(SameColour, shown[200 * 1024 + 101], kArgb[1]);
    // Change the primary where no blit tells the presenter: the next present,
    // of another place, leaves that part of the window as it was.
    DDSURFACEDESC2 lock;
    lock.dwSize = sizeof(lock);
    ASSERT_EQ(primary->Lock(nullptr, &lock, DDLOCK_WAIT, nullptr), DD_OK);
    std::memset(static_cast<uint8_t*>(lock.lpSurface) + 10 * lock.lPitch, 0xFF, 40);
    ASSERT_EQ(primary->Unlock(nullptr), DD_OK);
    Paint(tile, 64); // all black
    ASSERT_EQ(primary->Blt(&at, tile, nullptr, DDBLT_WAIT, nullptr), DD_OK);
    shown = Presenter().ReadWindowPixels(window, width, height);
    EXPECT_PRED2(SameColour, shown[10 * 1024 + 0], 0xFF000000u);
    EXPECT_PRED2(SameColour, shown[200 * 1024 + 101], 0xFF000000u);
    primary->Release();
    tile->Release();
}

TEST_F(SdlPresenterTest, FullScreenShowsTheWholeModeSizedPrimaryScaledWithBars)
{
    WindowHandle window = CreateMain(0, 0, 512, 288);
    ASSERT_EQ(mDirectDraw->SetCooperativeLevel(window, DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE), DD_OK);
    EXPECT_TRUE(mWindows->IsDesktopFullScreen(window));
    ASSERT_EQ(mFirst->SetDisplayMode(512, 288, 16), DD_OK);
    IDirectDrawSurface7* primary = Create(PrimaryDesc(DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX, 1));
    DDSCAPS2 caps;
    caps.dwCaps = DDSCAPS_BACKBUFFER;
    IDirectDrawSurface7* back = nullptr;
    ASSERT_EQ(primary->GetAttachedSurface(&caps, &back), DD_OK);
    Paint(back, 32);
    ASSERT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);

    // 512 x 288 on the 1024 x 768 screen: twice the size, bars of 96 rows above and below.
    int32_t width = 0, height = 0;
    const std::vector<uint32_t> shown = Presenter().ReadWindowPixels(window, width, height);
    ASSERT_EQ(width, 1024);
    ASSERT_EQ(height, 768);
    for (int32_t y = 0; y < 96; y += 7) {
        EXPECT_EQ(shown[static_cast<size_t>(y) * 1024 + 500], 0xFF000000u) << y;
        EXPECT_EQ(shown[static_cast<size_t>(767 - y) * 1024 + 500], 0xFF000000u) << y;
    }
    // The middle of every block of the mode's picture.
    for (uint32_t by = 16; by < 288; by += 32) {
        for (uint32_t bx = 16; bx < 512; bx += 32) {
            const size_t at = (96 + by * 2) * size_t{1024} + bx * 2;
            ASSERT_PRED2(SameColour, shown[at], kArgb[ColourIndexAt(bx, by, 32)]) << bx << "," << by;
        }
    }

    ASSERT_EQ(mDirectDraw->SetCooperativeLevel(window, DDSCL_NORMAL), DD_OK);
    EXPECT_FALSE(mWindows->IsDesktopFullScreen(window));
    back->Release();
    primary->Release();
}

TEST_F(SdlPresenterTest, BackEndAnswers)
{
    WindowHandle window = CreateMain(0, 0, 320, 200);
    uint32_t hz = 12345;
    ASSERT_EQ(mDirectDraw->SetCooperativeLevel(window, DDSCL_NORMAL), DD_OK);
    ASSERT_EQ(mDirectDraw->GetMonitorFrequency(&hz), DD_OK);
    EXPECT_NE(hz, 12345u); // what SDL reports for the dummy display, 0 when it does not know
    EXPECT_EQ(Presenter().GetNewSurfaceFill(), 0);
    uint32_t width = 0, height = 0;
    Presenter().GetDesktopSize(width, height);
    EXPECT_EQ(width, 1024u);
    EXPECT_EQ(height, 768u);
    // A window that is gone shows nothing and reads back nothing.
    mWindows->DestroyWindow(window);
    int32_t w = 0, h = 0;
    EXPECT_TRUE(Presenter().ReadWindowPixels(window, w, h).empty());
}

TEST_F(SdlPresenterTest, ADirect3DSceneOnThePrimaryIsShownAfterEndScene)
{
    WindowHandle window = CreateMain(0, 0, 1024, 768);
    ASSERT_EQ(mDirectDraw->SetCooperativeLevel(window, DDSCL_NORMAL), DD_OK);
    IDirectDrawSurface7* primary = Create(PrimaryDesc(DDSCAPS_PRIMARYSURFACE | DDSCAPS_3DDEVICE, 0));
    IDirect3D7* d3d = nullptr;
    ASSERT_EQ(mDirectDraw->QueryInterface(IID_IDirect3D7, reinterpret_cast<void**>(&d3d)), DD_OK);
    IDirect3DDevice7* device = nullptr;
    ASSERT_EQ(d3d->CreateDevice(IID_IDirect3DHALDevice, primary, &device), DD_OK);
    ASSERT_EQ(device->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE), DD_OK);
    // Pre-transformed vertices: x, y, z, rhw, diffuse, specular, u, v.
    struct Vertex {
        float x, y, z, rhw;
        uint32_t diffuse, specular;
        float u, v;
    };
    Vertex quad[4] = {{99.5f, 199.5f, 0, 1, 0xFFFF0000, 0, 0, 0},
                      {99.5f, 209.5f, 0, 1, 0xFFFF0000, 0, 0, 0},
                      {119.5f, 199.5f, 0, 1, 0xFFFF0000, 0, 0, 0},
                      {119.5f, 209.5f, 0, 1, 0xFFFF0000, 0, 0, 0}};
    ASSERT_EQ(device->BeginScene(), DD_OK);
    ASSERT_EQ(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0x1C4, quad, 4, D3DDP_WAIT), DD_OK);
    ASSERT_EQ(device->EndScene(), DD_OK);
    int32_t width = 0, height = 0;
    const std::vector<uint32_t> shown = Presenter().ReadWindowPixels(window, width, height);
    ASSERT_EQ(shown.size(), size_t{1024} * 768);
    EXPECT_PRED2(SameColour, shown[200 * 1024 + 100], 0xFFFF0000u);
    EXPECT_PRED2(SameColour, shown[209 * 1024 + 119], 0xFFFF0000u);
    EXPECT_PRED2(SameColour, shown[210 * 1024 + 119], 0xFF000000u);
    EXPECT_PRED2(SameColour, shown[200 * 1024 + 120], 0xFF000000u);
    device->Release();
    d3d->Release();
    primary->Release();
    mWindows->DestroyWindow(window);
}

} // namespace
