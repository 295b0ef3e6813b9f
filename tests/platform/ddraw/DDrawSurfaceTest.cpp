#include "platform/ddraw/DDrawSurface.h"

#include "platform/ddraw/DDrawTestSupport.h"

#include <algorithm>

namespace {

using namespace Platform;
using namespace DDrawTest;

class DDrawSurfaceTest : public DDrawFixture {};

struct FormatCase {
    const char* name;
    DDrawFormat format;
    uint32_t bits;
    uint32_t flags;
    uint32_t red, green, blue, alpha;
};

const FormatCase kFormats[] = {
    {"X8R8G8B8", DDrawFormat::X8R8G8B8, 32, DDPF_RGB, 0xFF0000, 0xFF00, 0xFF, 0},
    {"R5G6B5", DDrawFormat::R5G6B5, 16, DDPF_RGB, 0xF800, 0x07E0, 0x001F, 0},
    {"X1R5G5B5", DDrawFormat::X1R5G5B5, 16, DDPF_RGB, 0x7C00, 0x03E0, 0x001F, 0},
    {"BGR565", DDrawFormat::BGR565, 16, DDPF_RGB, 0x001F, 0x07E0, 0xF800, 0},
    {"R8G8B8", DDrawFormat::R8G8B8, 24, DDPF_RGB, 0xFF0000, 0xFF00, 0xFF, 0},
    {"P8", DDrawFormat::P8, 8, DDPF_PALETTEINDEXED8, 0, 0, 0, 0},
    {"A8R8G8B8", DDrawFormat::A8R8G8B8, 32, DDPF_RGB | DDPF_ALPHAPIXELS, 0xFF0000, 0xFF00, 0xFF, 0xFF000000},
    {"A4R4G4B4", DDrawFormat::A4R4G4B4, 16, DDPF_RGB | DDPF_ALPHAPIXELS, 0x0F00, 0x00F0, 0x000F, 0xF000},
};

// Each format, given explicitly and (for the desktop formats) taken from the
// desktop: the lock describes it, the pitch is padded, every byte holds the
// fill pattern, and whatever is written comes back bit for bit.
TEST_F(DDrawSurfaceTest, EveryFormatLocksFilledAndKeepsWhatIsWritten)
{
    for (const FormatCase& c : kFormats) {
        for (const bool fromDesktop : {false, true}) {
            if (fromDesktop && (c.format == DDrawFormat::A8R8G8B8 || c.format == DDrawFormat::A4R4G4B4))
                continue;
            SCOPED_TRACE(std::string(c.name) + (fromDesktop ? " from the desktop" : " given"));
            DDrawSettings settings;
            settings.desktopFormat = c.format;
            DDrawRuntime::Get().SetSettings(settings);
            DirectDraw7 dd;
            IDirectDrawSurface7* surface = nullptr;
            if (fromDesktop) {
                DDSURFACEDESC2 desc = OffscreenDesc(100, 50);
                ASSERT_EQ(dd->CreateSurface(&desc, &surface, nullptr), DD_OK);
            } else {
                surface = MakeSurface(dd.dd, 100, 50, c.format);
                ASSERT_NE(surface, nullptr);
            }

            DDSURFACEDESC2 lock;
            lock.dwSize = sizeof(lock);
            ASSERT_EQ(surface->Lock(nullptr, &lock, DDLOCK_WAIT, nullptr), DD_OK);
            EXPECT_EQ(lock.dwWidth, 100u);
            EXPECT_EQ(lock.dwHeight, 50u);
            EXPECT_EQ(lock.lPitch, static_cast<int32_t>(100 * c.bits / 8 + 16));
            EXPECT_EQ(lock.ddpfPixelFormat.dwRGBBitCount, c.bits);
            EXPECT_EQ(lock.ddpfPixelFormat.dwFlags, c.flags);
            if (c.flags & DDPF_RGB) {
                EXPECT_EQ(lock.ddpfPixelFormat.dwRBitMask, c.red);
                EXPECT_EQ(lock.ddpfPixelFormat.dwGBitMask, c.green);
                EXPECT_EQ(lock.ddpfPixelFormat.dwBBitMask, c.blue);
                EXPECT_EQ(lock.ddpfPixelFormat.dwRGBAlphaBitMask, c.alpha);
            }
            ASSERT_NE(lock.lpSurface, nullptr);
            auto* bytes = static_cast<uint8_t*>(lock.lpSurface);
            const size_t size = static_cast<size_t>(lock.lPitch) * lock.dwHeight;
            EXPECT_EQ(std::count(bytes, bytes + size, 0xCD), static_cast<std::ptrdiff_t>(size));
            // Every byte of every pixel, the top byte of 32-bit words included.
            for (size_t i = 0; i < size; ++i)
                bytes[i] = static_cast<uint8_t>(i * 7 + 3);
            ASSERT_EQ(surface->Unlock(nullptr), DD_OK);

            const std::vector<uint8_t> back = ReadBytes(surface);
            for (size_t i = 0; i < back.size(); ++i)
                ASSERT_EQ(back[i], static_cast<uint8_t>(i * 7 + 3)) << "byte " << i;
            surface->Release();
        }
    }
}

TEST_F(DDrawSurfaceTest, PitchPaddingIsASettingKeptToWholeWords)
{
    const struct {
        uint32_t padding;
        int32_t pitch;
    } cases[] = {{0, 200}, {6, 208}, {64, 264}};
    for (const auto& c : cases) {
        DDrawSettings settings;
        settings.pitchPadding = c.padding;
        settings.fillByte = 0x11;
        DDrawRuntime::Get().SetSettings(settings);
        DirectDraw7 dd;
        IDirectDrawSurface7* surface = MakeSurface(dd.dd, 100, 3, DDrawFormat::R5G6B5);
        DDSURFACEDESC2 desc;
        desc.dwSize = sizeof(desc);
        ASSERT_EQ(surface->GetSurfaceDesc(&desc), DD_OK);
        EXPECT_EQ(desc.lPitch, c.pitch) << c.padding;
        const std::vector<uint8_t> bytes = ReadBytes(surface);
        EXPECT_EQ(std::count(bytes.begin(), bytes.end(), 0x11), static_cast<std::ptrdiff_t>(bytes.size()));
        surface->Release();
    }
}

TEST_F(DDrawSurfaceTest, NewSurfacesTakeTheBackEndsFillUnlessASettingSaysOtherwise)
{
    const struct {
        uint8_t backEnd;
        std::optional<uint8_t> setting;
        uint8_t expected;
    } cases[] = {{0x00, {}, 0x00}, {0xCD, {}, 0xCD}, {0x00, 0x5A, 0x5A}};
    for (const auto& c : cases) {
        mPresenter->fill = c.backEnd;
        DDrawSettings settings;
        settings.fillByte = c.setting;
        DDrawRuntime::Get().SetSettings(settings);
        DirectDraw7 dd;
        IDirectDrawSurface7* surface = MakeSurface(dd.dd, 7, 3, DDrawFormat::X8R8G8B8);
        const std::vector<uint8_t> bytes = ReadBytes(surface);
        EXPECT_EQ(std::count(bytes.begin(), bytes.end(), c.expected), static_cast<std::ptrdiff_t>(bytes.size()))
            << int{c.expected};
        surface->Release();
    }
}

TEST_F(DDrawSurfaceTest, LockRules)
{
    DirectDraw7 dd;
    IDirectDrawSurface7* surface = MakeSurface(dd.dd, 8, 8, DDrawFormat::X8R8G8B8);
    IDirectDrawSurface7* other = MakeSurface(dd.dd, 8, 8, DDrawFormat::X8R8G8B8);
    DDSURFACEDESC2 desc;
    desc.dwSize = sizeof(desc);

    EXPECT_EQ(surface->Unlock(nullptr), DDERR_NOTLOCKED);
    RECT part{0, 0, 4, 4};
    EXPECT_EQ(surface->Lock(&part, &desc, DDLOCK_WAIT, nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(surface->Lock(nullptr, nullptr, DDLOCK_WAIT, nullptr), DDERR_INVALIDPARAMS);
    DDSURFACEDESC2 wrongSize;
    wrongSize.dwSize = sizeof(DDSURFACEDESC);
    EXPECT_EQ(surface->Lock(nullptr, &wrongSize, DDLOCK_WAIT, nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(wrongSize.lpSurface, nullptr);

    ASSERT_EQ(surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
    DDSURFACEDESC2 second;
    second.dwSize = sizeof(second);
    EXPECT_EQ(surface->Lock(nullptr, &second, DDLOCK_WAIT, nullptr), DDERR_SURFACEBUSY);
    EXPECT_EQ(other->Blt(nullptr, surface, nullptr, DDBLT_WAIT, nullptr), DDERR_SURFACEBUSY);
    EXPECT_EQ(surface->Blt(nullptr, other, nullptr, DDBLT_WAIT, nullptr), DDERR_SURFACEBUSY);
    EXPECT_EQ(surface->Unlock(&part), DDERR_INVALIDPARAMS);
    EXPECT_EQ(surface->Unlock(nullptr), DD_OK);
    EXPECT_EQ(surface->Unlock(nullptr), DDERR_NOTLOCKED);
    EXPECT_EQ(other->Blt(nullptr, surface, nullptr, DDBLT_WAIT, nullptr), DD_OK);

    surface->Release();
    other->Release();
}

TEST_F(DDrawSurfaceTest, FirstVersionInterfaceTakesTheShortDescription)
{
    DirectDraw7 dd;
    IDirectDrawSurface7* surface7 = MakeSurface(dd.dd, 5, 4, DDrawFormat::R5G6B5);
    IDirectDrawSurface* surface = nullptr;
    ASSERT_EQ(surface7->QueryInterface(IID_IDirectDrawSurface, reinterpret_cast<void**>(&surface)), DD_OK);

    DDSURFACEDESC desc;
    desc.dwSize = sizeof(DDSURFACEDESC2);
    EXPECT_EQ(surface->GetSurfaceDesc(&desc), DDERR_INVALIDPARAMS);
    EXPECT_EQ(surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DDERR_INVALIDPARAMS);
    desc.dwSize = sizeof(DDSURFACEDESC);
    ASSERT_EQ(surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
    EXPECT_EQ(desc.dwWidth, 5u);
    EXPECT_EQ(desc.lPitch, 5 * 2 + 16);
    EXPECT_EQ(desc.ddpfPixelFormat.dwRBitMask, 0xF800u);
    EXPECT_EQ(desc.dwFlags & (DDSD_LPSURFACE | DDSD_PITCH | DDSD_PIXELFORMAT),
              DDSD_LPSURFACE | DDSD_PITCH | DDSD_PIXELFORMAT);
    // Both interfaces lead to one surface, so the lock shows through the other.
    DDSURFACEDESC2 desc7;
    desc7.dwSize = sizeof(desc7);
    EXPECT_EQ(surface7->Lock(nullptr, &desc7, DDLOCK_WAIT, nullptr), DDERR_SURFACEBUSY);
    EXPECT_EQ(surface->Unlock(desc.lpSurface), DD_OK);

    surface->Release();
    surface7->Release();
}

TEST_F(DDrawSurfaceTest, CreationRefusals)
{
    DirectDraw7 dd;
    IDirectDrawSurface7* surface = nullptr;
    const auto create = [&](DDSURFACEDESC2 desc) {
        const HRESULT result = dd->CreateSurface(&desc, &surface, nullptr);
        EXPECT_EQ(surface, nullptr);
        return result;
    };

    DDSURFACEDESC2 noWidth = OffscreenDesc(10, 10);
    noWidth.dwFlags &= ~DDSD_WIDTH;
    EXPECT_EQ(create(noWidth), DDERR_INVALIDPARAMS);
    EXPECT_EQ(create(OffscreenDesc(0, 10)), DDERR_INVALIDPARAMS);
    DDSURFACEDESC2 wrongSize = OffscreenDesc(10, 10);
    wrongSize.dwSize = sizeof(DDSURFACEDESC);
    EXPECT_EQ(create(wrongSize), DDERR_INVALIDPARAMS);
    EXPECT_EQ(create(OffscreenDesc(10, 10, DDSCAPS_FLIP | DDSCAPS_COMPLEX)), DDERR_INVALIDCAPS);
    EXPECT_EQ(create(OffscreenDesc(100000, 100000)), E_OUTOFMEMORY);

    DDSURFACEDESC2 twelveBits = OffscreenDesc(10, 10);
    twelveBits.dwFlags |= DDSD_PIXELFORMAT;
    twelveBits.ddpfPixelFormat = MakePixelFormat(DDrawFormat::R5G6B5);
    twelveBits.ddpfPixelFormat.dwRGBBitCount = 12;
    EXPECT_EQ(create(twelveBits), DDERR_INVALIDPIXELFORMAT);
    DDSURFACEDESC2 forgottenFormatSize = OffscreenDesc(10, 10);
    forgottenFormatSize.dwFlags |= DDSD_PIXELFORMAT;
    forgottenFormatSize.ddpfPixelFormat = MakePixelFormat(DDrawFormat::R5G6B5);
    forgottenFormatSize.ddpfPixelFormat.dwSize = 0;
    EXPECT_EQ(create(forgottenFormatSize), DDERR_INVALIDPARAMS);

    DDSURFACEDESC2 good = OffscreenDesc(10, 10);
    EXPECT_EQ(dd->CreateSurface(&good, nullptr, nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(dd->CreateSurface(nullptr, &surface, nullptr), DDERR_INVALIDPARAMS);
}

TEST_F(DDrawSurfaceTest, CapsAndCaps2AreRecorded)
{
    DirectDraw7 dd;
    DDSURFACEDESC2 desc = OffscreenDesc(64, 32, DDSCAPS_TEXTURE);
    desc.dwFlags |= DDSD_PIXELFORMAT;
    desc.ddpfPixelFormat = MakePixelFormat(DDrawFormat::A4R4G4B4);
    desc.ddsCaps.dwCaps2 = DDSCAPS2_D3DTEXTUREMANAGE;
    IDirectDrawSurface7* texture = nullptr;
    ASSERT_EQ(dd->CreateSurface(&desc, &texture, nullptr), DD_OK);
    DDSURFACEDESC2 seen;
    seen.dwSize = sizeof(seen);
    ASSERT_EQ(texture->GetSurfaceDesc(&seen), DD_OK);
    EXPECT_EQ(seen.ddsCaps.dwCaps, DDSCAPS_TEXTURE);
    EXPECT_EQ(seen.ddsCaps.dwCaps2, DDSCAPS2_D3DTEXTUREMANAGE);
    EXPECT_EQ(seen.lpSurface, nullptr);
    texture->Release();

    DDSURFACEDESC2 screen = OffscreenDesc(64, 32, DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE | DDSCAPS_VIDEOMEMORY);
    IDirectDrawSurface7* draw = nullptr;
    ASSERT_EQ(dd->CreateSurface(&screen, &draw, nullptr), DD_OK);
    ASSERT_EQ(draw->GetSurfaceDesc(&seen), DD_OK);
    EXPECT_EQ(seen.ddsCaps.dwCaps, DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE | DDSCAPS_VIDEOMEMORY);
    draw->Release();
}

TEST_F(DDrawSurfaceTest, SourceColorKeyIsSetOnlyForSourceBlits)
{
    DirectDraw7 dd;
    IDirectDrawSurface7* surface = MakeSurface(dd.dd, 4, 4, DDrawFormat::R5G6B5);
    DDCOLORKEY key{0xFFE0, 0xFFE0};
    EXPECT_EQ(surface->SetColorKey(2 /* destination blits */, &key), DDERR_INVALIDPARAMS);
    EXPECT_EQ(surface->SetColorKey(DDCKEY_SRCBLT, nullptr), DDERR_INVALIDPARAMS);
    DDSURFACEDESC2 desc;
    desc.dwSize = sizeof(desc);
    ASSERT_EQ(surface->GetSurfaceDesc(&desc), DD_OK);
    EXPECT_EQ(desc.dwFlags & DDSD_CKSRCBLT, 0u);

    ASSERT_EQ(surface->SetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
    ASSERT_EQ(surface->GetSurfaceDesc(&desc), DD_OK);
    EXPECT_EQ(desc.dwFlags & DDSD_CKSRCBLT, DDSD_CKSRCBLT);
    EXPECT_EQ(desc.ddckCKSrcBlt.dwColorSpaceLowValue, 0xFFE0u);
    EXPECT_EQ(desc.ddckCKSrcBlt.dwColorSpaceHighValue, 0xFFE0u);
    surface->Release();
}

TEST_F(DDrawSurfaceTest, PaletteAndClipperLiveUntilTheSurfaceGoes)
{
    DirectDraw7 dd;
    IDirectDrawSurface7* indexed = MakeSurface(dd.dd, 4, 4, DDrawFormat::P8);
    IDirectDrawSurface7* rgb = MakeSurface(dd.dd, 4, 4, DDrawFormat::X8R8G8B8);
    PALETTEENTRY entries[256] = {};
    IDirectDrawPalette* palette = nullptr;
    ASSERT_EQ(dd->CreatePalette(DDPCAPS_8BIT | DDPCAPS_ALLOW256, entries, &palette, nullptr), DD_OK);
    IDirectDrawClipper* clipper = nullptr;
    ASSERT_EQ(dd->CreateClipper(0, &clipper, nullptr), DD_OK);
    IDirectDrawClipper* secondClipper = nullptr;
    ASSERT_EQ(dd->CreateClipper(0, &secondClipper, nullptr), DD_OK);

    EXPECT_EQ(rgb->SetPalette(palette), DDERR_INVALIDPIXELFORMAT);
    ASSERT_EQ(indexed->SetPalette(palette), DD_OK);
    ASSERT_EQ(rgb->SetClipper(clipper), DD_OK);
    EXPECT_EQ(palette->Release(), 1u);
    EXPECT_EQ(clipper->Release(), 1u);
    EXPECT_EQ(DDrawRuntime::Get().LiveCount(DDrawObjectKind::Palette), 1u);
    EXPECT_EQ(DDrawRuntime::Get().LiveCount(DDrawObjectKind::Clipper), 2u);

    // Taking another clipper gives up the first.
    ASSERT_EQ(rgb->SetClipper(secondClipper), DD_OK);
    EXPECT_EQ(DDrawRuntime::Get().LiveCount(DDrawObjectKind::Clipper), 1u);
    EXPECT_EQ(secondClipper->Release(), 1u);

    indexed->Release();
    EXPECT_EQ(DDrawRuntime::Get().LiveCount(DDrawObjectKind::Palette), 0u);
    rgb->Release();
    EXPECT_EQ(DDrawRuntime::Get().LiveCount(DDrawObjectKind::Clipper), 0u);
}

TEST_F(DDrawSurfaceTest, QueryInterfaceBetweenVersionsIsOneObject)
{
    DirectDraw7 dd;
    IDirectDrawSurface7* surface7 = MakeSurface(dd.dd, 2, 2, DDrawFormat::X8R8G8B8);
    IDirectDrawSurface* surface = nullptr;
    ASSERT_EQ(surface7->QueryInterface(IID_IDirectDrawSurface, reinterpret_cast<void**>(&surface)), DD_OK);
    EXPECT_EQ(DDrawSurface::From(surface), DDrawSurface::From(surface7));
    IDirectDrawSurface7* again = nullptr;
    ASSERT_EQ(surface->QueryInterface(IID_IDirectDrawSurface7, reinterpret_cast<void**>(&again)), DD_OK);
    EXPECT_EQ(again, surface7);
    void* none = &none;
    EXPECT_EQ(surface->QueryInterface(IID_IDirect3D7, &none), E_NOINTERFACE);
    EXPECT_EQ(none, nullptr);
    // Three references now: the creation and the two queries.
    EXPECT_EQ(again->Release(), 2u);
    EXPECT_EQ(surface->Release(), 1u);
    EXPECT_EQ(surface7->Release(), 0u);
}

} // namespace
