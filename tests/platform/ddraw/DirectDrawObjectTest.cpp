#include "platform/ddraw/DirectDrawObject.h"

#include "platform/ddraw/DDrawTestSupport.h"

namespace {

using namespace Platform;
using namespace DDrawTest;

class DirectDrawObjectTest : public DDrawFixture {
protected:
    const HWND mWindow = FakeWindow(1);
};

DDSURFACEDESC2 PrimaryDesc()
{
    DDSURFACEDESC2 desc;
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DDSD_CAPS;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    return desc;
}

DDSURFACEDESC2 FlipChainDesc()
{
    DDSURFACEDESC2 desc;
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    desc.dwBackBufferCount = 1;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    return desc;
}

DDSURFACEDESC2 Describe(IDirectDrawSurface7* surface)
{
    DDSURFACEDESC2 desc;
    desc.dwSize = sizeof(desc);
    EXPECT_EQ(surface->GetSurfaceDesc(&desc), DD_OK);
    return desc;
}

TEST_F(DirectDrawObjectTest, WindowedPrimaryHasTheDesktopsSizeAndFormatAndStartsBlack)
{
    const struct {
        DDrawFormat format;
        uint32_t bits;
        uint32_t red;
    } desktops[] = {{DDrawFormat::X8R8G8B8, 32, 0xFF0000}, {DDrawFormat::R5G6B5, 16, 0xF800},
                    {DDrawFormat::BGR565, 16, 0x001F},    {DDrawFormat::R8G8B8, 24, 0xFF0000},
                    {DDrawFormat::P8, 8, 0}};
    for (const auto& d : desktops) {
        SCOPED_TRACE(d.bits);
        DDrawSettings settings;
        settings.desktopFormat = d.format;
        DDrawRuntime::Get().SetSettings(settings);
        DirectDraw7 dd;
        DDSURFACEDESC2 desc = PrimaryDesc();
        IDirectDrawSurface7* primary = nullptr;
        EXPECT_EQ(dd->CreateSurface(&desc, &primary, nullptr), DDERR_NOCOOPERATIVELEVELSET);
        ASSERT_EQ(dd->SetCooperativeLevel(mWindow, DDSCL_NORMAL), DD_OK);
        ASSERT_EQ(dd->CreateSurface(&desc, &primary, nullptr), DD_OK);
        const DDSURFACEDESC2 seen = Describe(primary);
        EXPECT_EQ(seen.dwWidth, 1920u);
        EXPECT_EQ(seen.dwHeight, 1080u);
        EXPECT_EQ(seen.ddpfPixelFormat.dwRGBBitCount, d.bits);
        EXPECT_EQ(seen.ddpfPixelFormat.dwRBitMask, d.red);
        EXPECT_EQ(seen.ddsCaps.dwCaps, DDSCAPS_PRIMARYSURFACE);
        const std::vector<uint8_t> bytes = ReadBytes(primary);
        EXPECT_EQ(std::count(bytes.begin(), bytes.end(), 0), static_cast<std::ptrdiff_t>(bytes.size()));

        IDirectDrawSurface7* second = nullptr;
        EXPECT_EQ(dd->CreateSurface(&desc, &second, nullptr), DDERR_PRIMARYSURFACEALREADYEXISTS);
        EXPECT_EQ(second, nullptr);
        primary->Release();
        // Once the first is gone another may be made.
        ASSERT_EQ(dd->CreateSurface(&desc, &second, nullptr), DD_OK);
        second->Release();
    }
}

TEST_F(DirectDrawObjectTest, OffscreenSurfacesTakeTheDisplaysFormatOfTheMoment)
{
    DDrawSettings settings;
    settings.desktopFormat = DDrawFormat::X8R8G8B8;
    DDrawRuntime::Get().SetSettings(settings);
    DirectDraw7 dd;
    ASSERT_EQ(dd->SetCooperativeLevel(mWindow, DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE), DD_OK);
    const auto offscreenBits = [&] {
        DDSURFACEDESC2 desc = OffscreenDesc(8, 8);
        IDirectDrawSurface7* surface = nullptr;
        EXPECT_EQ(dd->CreateSurface(&desc, &surface, nullptr), DD_OK);
        const uint32_t bits = Describe(surface).ddpfPixelFormat.dwRGBBitCount;
        surface->Release();
        return bits;
    };
    EXPECT_EQ(offscreenBits(), 32u);
    IDirectDraw* first = nullptr;
    ASSERT_EQ(dd->QueryInterface(IID_IDirectDraw, reinterpret_cast<void**>(&first)), DD_OK);
    ASSERT_EQ(first->SetDisplayMode(1024, 768, 16), DD_OK);
    EXPECT_EQ(offscreenBits(), 16u);
    // Back to normal mode brings the desktop's mode back.
    ASSERT_EQ(dd->SetCooperativeLevel(mWindow, DDSCL_NORMAL), DD_OK);
    EXPECT_EQ(offscreenBits(), 32u);
    first->Release();
}

TEST_F(DirectDrawObjectTest, DisplayModes)
{
    const struct {
        const char* name;
        bool exclusive;
        uint32_t bits;
        DDrawFormat mode16;
        HRESULT result;
        uint32_t red; // of the primary made afterwards
    } cases[] = {
        {"not exclusive", false, 16, DDrawFormat::R5G6B5, DDERR_NOEXCLUSIVEMODE, 0},
        {"565", true, 16, DDrawFormat::R5G6B5, DD_OK, 0xF800},
        {"555 by the setting", true, 16, DDrawFormat::X1R5G5B5, DD_OK, 0x7C00},
        {"32", true, 32, DDrawFormat::R5G6B5, DD_OK, 0xFF0000},
        {"24 is not in the list", true, 24, DDrawFormat::R5G6B5, DDERR_INVALIDMODE, 0},
        {"8 is not in the list", true, 8, DDrawFormat::R5G6B5, DDERR_INVALIDMODE, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DDrawSettings settings;
        settings.mode16Format = c.mode16;
        DDrawRuntime::Get().SetSettings(settings);
        IDirectDraw* dd = nullptr;
        ASSERT_EQ(DirectDrawCreate(nullptr, &dd, nullptr), DD_OK);
        ASSERT_EQ(dd->SetCooperativeLevel(mWindow, c.exclusive ? DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE : DDSCL_NORMAL),
                  DD_OK);
        EXPECT_EQ(dd->SetDisplayMode(1024, 768, c.bits), c.result);
        if (c.result == DD_OK) {
            DDSURFACEDESC desc;
            desc.dwSize = sizeof(desc);
            desc.dwFlags = DDSD_CAPS;
            desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
            IDirectDrawSurface* primary = nullptr;
            ASSERT_EQ(dd->CreateSurface(&desc, &primary, nullptr), DD_OK);
            DDSURFACEDESC seen;
            seen.dwSize = sizeof(seen);
            ASSERT_EQ(primary->GetSurfaceDesc(&seen), DD_OK);
            EXPECT_EQ(seen.dwWidth, 1024u);
            EXPECT_EQ(seen.dwHeight, 768u);
            EXPECT_EQ(seen.ddpfPixelFormat.dwRGBBitCount, c.bits);
            EXPECT_EQ(seen.ddpfPixelFormat.dwRBitMask, c.red);
            primary->Release();
        }
        dd->Release();
    }
    // The accepted depths are a setting too.
    DDrawSettings wide;
    wide.modeDepths = {8, 16, 24, 32};
    DDrawRuntime::Get().SetSettings(wide);
    DirectDraw7 dd;
    IDirectDraw* first = nullptr;
    ASSERT_EQ(dd->QueryInterface(IID_IDirectDraw, reinterpret_cast<void**>(&first)), DD_OK);
    ASSERT_EQ(dd->SetCooperativeLevel(mWindow, DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE), DD_OK);
    EXPECT_EQ(first->SetDisplayMode(800, 600, 24), DD_OK);
    EXPECT_EQ(first->SetDisplayMode(800, 600, 15), DDERR_INVALIDMODE);
    EXPECT_EQ(first->SetDisplayMode(0, 600, 32), DDERR_INVALIDMODE);
    first->Release();
}

TEST_F(DirectDrawObjectTest, CooperativeLevelsMoveTheWindowInAndOutOfFullScreen)
{
    {
        DirectDraw7 dd;
        EXPECT_EQ(dd->SetCooperativeLevel(mWindow, DDSCL_FULLSCREEN), DDERR_INVALIDPARAMS);
        EXPECT_EQ(dd->SetCooperativeLevel(nullptr, DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE), DDERR_INVALIDPARAMS);
        EXPECT_TRUE(mPresenter->fullScreenCalls.empty());
        ASSERT_EQ(dd->SetCooperativeLevel(mWindow, DDSCL_NORMAL), DD_OK);
        EXPECT_TRUE(mPresenter->fullScreenCalls.empty());
        ASSERT_EQ(dd->SetCooperativeLevel(mWindow, DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE), DD_OK);
        ASSERT_EQ(dd->SetCooperativeLevel(mWindow, DDSCL_NORMAL), DD_OK);
        EXPECT_EQ(mPresenter->fullScreenCalls,
                  (std::vector<std::pair<HWND, bool>>{{mWindow, true}, {mWindow, false}}));
        // Released while exclusive, the object gives the desktop back.
        ASSERT_EQ(dd->SetCooperativeLevel(mWindow, DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE), DD_OK);
    }
    EXPECT_EQ(mPresenter->fullScreenCalls.back(), (std::pair<HWND, bool>{mWindow, false}));
    EXPECT_EQ(mPresenter->fullScreenCalls.size(), 4u);
}

TEST_F(DirectDrawObjectTest, FlipChainNeedsExclusiveModeAndFlipCopiesTheBackBuffer)
{
    DirectDraw7 dd;
    DDSURFACEDESC2 desc = FlipChainDesc();
    IDirectDrawSurface7* primary = nullptr;
    ASSERT_EQ(dd->SetCooperativeLevel(mWindow, DDSCL_NORMAL), DD_OK);
    EXPECT_EQ(dd->CreateSurface(&desc, &primary, nullptr), DDERR_NOEXCLUSIVEMODE);
    ASSERT_EQ(dd->SetCooperativeLevel(mWindow, DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE), DD_OK);
    IDirectDraw* first = nullptr;
    ASSERT_EQ(dd->QueryInterface(IID_IDirectDraw, reinterpret_cast<void**>(&first)), DD_OK);
    ASSERT_EQ(first->SetDisplayMode(640, 480, 16), DD_OK);
    DDSURFACEDESC2 twoBuffers = FlipChainDesc();
    twoBuffers.dwBackBufferCount = 2;
    EXPECT_EQ(dd->CreateSurface(&twoBuffers, &primary, nullptr), DDERR_INVALIDPARAMS);
    ASSERT_EQ(dd->CreateSurface(&desc, &primary, nullptr), DD_OK);

    DDSCAPS2 caps;
    caps.dwCaps = DDSCAPS_BACKBUFFER;
    IDirectDrawSurface7* back = nullptr;
    ASSERT_EQ(primary->GetAttachedSurface(&caps, &back), DD_OK);
    ASSERT_NE(back, nullptr);
    const DDSURFACEDESC2 backDesc = Describe(back);
    EXPECT_EQ(backDesc.dwWidth, 640u);
    EXPECT_EQ(backDesc.ddpfPixelFormat.dwRGBBitCount, 16u);
    EXPECT_EQ(backDesc.ddsCaps.dwCaps & (DDSCAPS_BACKBUFFER | DDSCAPS_PRIMARYSURFACE), DDSCAPS_BACKBUFFER);
    EXPECT_EQ(Describe(primary).dwBackBufferCount, 1u);
    // GetAttachedSurface added a reference: two now, the primary's and ours.
    EXPECT_EQ(back->AddRef(), 3u);
    EXPECT_EQ(back->Release(), 2u);
    DDSCAPS2 other;
    other.dwCaps = DDSCAPS_TEXTURE;
    IDirectDrawSurface7* none = back;
    EXPECT_EQ(primary->GetAttachedSurface(&other, &none), DDERR_NOTFOUND);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(back->GetAttachedSurface(&caps, &none), DDERR_NOTFOUND);

    std::vector<uint32_t> picture(640 * 480);
    for (size_t i = 0; i < picture.size(); ++i)
        picture[i] = static_cast<uint32_t>(i * 31 + 7) & 0xFFFF;
    WritePixels(back, picture);
    mPresenter->presents.clear();
    ASSERT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
    EXPECT_EQ(ReadPixels(primary), picture);
    EXPECT_EQ(ReadPixels(back), picture);
    ASSERT_EQ(mPresenter->presents.size(), 1u);
    EXPECT_TRUE(mPresenter->presents[0].fullScreen);
    EXPECT_EQ(mPresenter->presents[0].changed, (RECT{0, 0, 640, 480}));

    EXPECT_EQ(primary->Flip(nullptr, 0x8 /* no vertical sync */), DDERR_INVALIDPARAMS);
    EXPECT_EQ(back->Flip(nullptr, DDFLIP_WAIT), DDERR_NOTFLIPPABLE);
    IDirectDrawSurface7* offscreen = MakeSurface(dd.dd, 4, 4, DDrawFormat::R5G6B5);
    EXPECT_EQ(offscreen->Flip(nullptr, DDFLIP_WAIT), DDERR_NOTFLIPPABLE);
    DDSURFACEDESC2 lock;
    lock.dwSize = sizeof(lock);
    ASSERT_EQ(back->Lock(nullptr, &lock, DDLOCK_WAIT, nullptr), DD_OK);
    EXPECT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DDERR_SURFACEBUSY);
    ASSERT_EQ(back->Unlock(nullptr), DD_OK);

    // The back buffer outlives our reference as long as the primary holds it.
    back->Release();
    EXPECT_EQ(DDrawRuntime::Get().LiveCount(DDrawObjectKind::Surface), 3u);
    primary->Release();
    EXPECT_EQ(DDrawRuntime::Get().LiveCount(DDrawObjectKind::Surface), 1u);
    offscreen->Release();
    first->Release();
}

TEST_F(DirectDrawObjectTest, BlitsIntoThePrimaryArePresented)
{
    DirectDraw7 dd;
    ASSERT_EQ(dd->SetCooperativeLevel(mWindow, DDSCL_NORMAL), DD_OK);
    DDSURFACEDESC2 desc = PrimaryDesc();
    IDirectDrawSurface7* primary = nullptr;
    ASSERT_EQ(dd->CreateSurface(&desc, &primary, nullptr), DD_OK);
    IDirectDrawSurface7* draw = MakeSurface(dd.dd, 100, 100, DDrawFormat::X8R8G8B8);
    IDirectDrawSurface7* other = MakeSurface(dd.dd, 100, 100, DDrawFormat::X8R8G8B8);

    RECT to{10, 20, 110, 120};
    ASSERT_EQ(primary->Blt(&to, draw, nullptr, DDBLT_WAIT, nullptr), DD_OK);
    ASSERT_EQ(other->Blt(nullptr, draw, nullptr, DDBLT_WAIT, nullptr), DD_OK);
    RECT outside{1900, 0, 2000, 100};
    EXPECT_EQ(primary->Blt(&outside, draw, nullptr, DDBLT_WAIT, nullptr), DDERR_INVALIDRECT);
    ASSERT_EQ(mPresenter->presents.size(), 1u);
    EXPECT_EQ(mPresenter->presents[0].window, mWindow);
    EXPECT_FALSE(mPresenter->presents[0].fullScreen);
    EXPECT_EQ(mPresenter->presents[0].width, 1920u);
    EXPECT_EQ(mPresenter->presents[0].changed, to);
    primary->Release();
    draw->Release();
    other->Release();
}

TEST_F(DirectDrawObjectTest, QueryInterfaceBetweenVersionsAndNoDirect3D)
{
    ChangeSettings([](DDrawSettings& s) { s.hasDirect3D = false; });
    IDirectDraw* first = nullptr;
    ASSERT_EQ(DirectDrawCreate(nullptr, &first, nullptr), DD_OK);
    IDirectDraw7* seventh = nullptr;
    ASSERT_EQ(first->QueryInterface(IID_IDirectDraw7, reinterpret_cast<void**>(&seventh)), DD_OK);
    EXPECT_EQ(DirectDrawObject::From(first), DirectDrawObject::From(seventh));
    IDirectDraw* again = nullptr;
    ASSERT_EQ(seventh->QueryInterface(IID_IDirectDraw, reinterpret_cast<void**>(&again)), DD_OK);
    EXPECT_EQ(again, first);
    void* direct3D = &direct3D;
    EXPECT_EQ(seventh->QueryInterface(IID_IDirect3D7, &direct3D), E_NOINTERFACE);
    EXPECT_EQ(direct3D, nullptr);
    EXPECT_EQ(seventh->QueryInterface(IID_IDirectDraw, nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(again->Release(), 2u);
    EXPECT_EQ(seventh->Release(), 1u);
    EXPECT_EQ(first->Release(), 0u);
}

TEST_F(DirectDrawObjectTest, MonitorFrequencyClippersPalettesAndTheGdiFlip)
{
    DirectDraw7 dd;
    mPresenter->frequency = 75;
    uint32_t hz = 0;
    ASSERT_EQ(dd->GetMonitorFrequency(&hz), DD_OK);
    EXPECT_EQ(hz, 75u);
    EXPECT_EQ(dd->GetMonitorFrequency(nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(dd->FlipToGDISurface(), DD_OK);

    IDirectDrawClipper* clipper = nullptr;
    EXPECT_EQ(dd->CreateClipper(1, &clipper, nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(clipper, nullptr);

    PALETTEENTRY entries[256];
    for (int i = 0; i < 256; ++i)
        entries[i] = PALETTEENTRY{static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i * 3),
                                  static_cast<uint8_t>(i ^ 0x5A)};
    IDirectDrawPalette* palette = nullptr;
    EXPECT_EQ(dd->CreatePalette(DDPCAPS_ALLOW256, entries, &palette, nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(dd->CreatePalette(DDPCAPS_8BIT, nullptr, &palette, nullptr), DDERR_INVALIDPARAMS);
    ASSERT_EQ(dd->CreatePalette(DDPCAPS_8BIT | DDPCAPS_ALLOW256 | DDPCAPS_ALPHA, entries, &palette, nullptr), DD_OK);
    entries[0].peRed = 99; // the palette keeps its own copy
    PALETTEENTRY back[256];
    ASSERT_EQ(palette->GetEntries(0, 0, 256, back), DD_OK);
    EXPECT_EQ(back[0], (PALETTEENTRY{0, 255, 0, 0x5A}));
    for (int i = 1; i < 256; ++i)
        ASSERT_EQ(back[i], entries[i]) << i;
    PALETTEENTRY part[2];
    ASSERT_EQ(palette->GetEntries(0, 254, 2, part), DD_OK);
    EXPECT_EQ(part[1], entries[255]);
    EXPECT_EQ(palette->GetEntries(0, 255, 2, part), DDERR_INVALIDPARAMS);
    EXPECT_EQ(palette->GetEntries(0, 0, 1, nullptr), DDERR_INVALIDPARAMS);
    palette->Release();
}

} // namespace
