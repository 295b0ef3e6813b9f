// Each operation made to fail once: it returns the injected code, changes
// nothing that the next calls could see, and the call after it succeeds.
#include "platform/ddraw/DDrawFailureInjector.h"

#include "platform/ddraw/DDrawTestSupport.h"

#include <functional>

namespace {

using namespace Platform;
using namespace DDrawTest;

class DDrawFailureInjectorTest : public DDrawFixture {};

constexpr HRESULT kInjected = DDERR_SURFACELOST;

// The display as the game sets it up, small.
struct World {
    IDirectDraw* first = nullptr;
    IDirectDraw7* dd = nullptr;
    IDirectDrawSurface7* primary = nullptr;
    IDirectDrawSurface7* back = nullptr;
    IDirectDrawSurface7* image = nullptr;
    IDirectDrawSurface7* indexed = nullptr;
    IDirectDrawClipper* clipper = nullptr;
    IDirectDrawPalette* palette = nullptr;
    const HWND window = FakeWindow(3);

    World()
    {
        EXPECT_EQ(DirectDrawCreate(nullptr, &first, nullptr), DD_OK);
        EXPECT_EQ(first->QueryInterface(IID_IDirectDraw7, reinterpret_cast<void**>(&dd)), DD_OK);
        EXPECT_EQ(dd->SetCooperativeLevel(window, DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE), DD_OK);
        EXPECT_EQ(first->SetDisplayMode(32, 16, 32), DD_OK);
        DDSURFACEDESC2 desc;
        desc.dwSize = sizeof(desc);
        desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
        desc.dwBackBufferCount = 1;
        desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
        EXPECT_EQ(dd->CreateSurface(&desc, &primary, nullptr), DD_OK);
        DDSCAPS2 caps;
        caps.dwCaps = DDSCAPS_BACKBUFFER;
        EXPECT_EQ(primary->GetAttachedSurface(&caps, &back), DD_OK);
        image = MakeSurface(dd, 32, 16, DDrawFormat::X8R8G8B8);
        indexed = MakeSurface(dd, 4, 4, DDrawFormat::P8);
        EXPECT_EQ(dd->CreateClipper(0, &clipper, nullptr), DD_OK);
        PALETTEENTRY entries[256] = {};
        EXPECT_EQ(dd->CreatePalette(DDPCAPS_8BIT, entries, &palette, nullptr), DD_OK);
        WritePixels(image, std::vector<uint32_t>(32 * 16, 0x00445566));
        WritePixels(back, std::vector<uint32_t>(32 * 16, 0x00778899));
    }
    ~World()
    {
        for (IUnknown* object : std::initializer_list<IUnknown*>{primary, back, image, indexed, clipper, palette, dd,
                                                                  first})
            object->Release();
    }
    World(const World&) = delete;
    World& operator=(const World&) = delete;
};

struct InjectionCase {
    const char* name;
    DDrawOp op;
    std::function<HRESULT(World&)> call;
    // Checks, after the failed call, that nothing changed.
    std::function<void(World&)> unchanged;
};

uint32_t Live(DDrawObjectKind kind) { return DDrawRuntime::Get().LiveCount(kind); }

const InjectionCase kCases[] = {
    {"DirectDrawCreate", DDrawOp::DirectDrawCreate,
     [](World&) {
         IDirectDraw* dd = nullptr;
         const HRESULT result = DirectDrawCreate(nullptr, &dd, nullptr);
         if (result == DD_OK)
             dd->Release();
         else
             EXPECT_EQ(dd, nullptr);
         return result;
     },
     [](World&) { EXPECT_EQ(Live(DDrawObjectKind::DirectDraw), 1u); }},
    {"DirectDrawCreateEx", DDrawOp::DirectDrawCreateEx,
     [](World&) {
         void* dd = nullptr;
         const HRESULT result = DirectDrawCreateEx(nullptr, &dd, IID_IDirectDraw7, nullptr);
         if (result == DD_OK)
             static_cast<IDirectDraw7*>(dd)->Release();
         return result;
     },
     [](World&) { EXPECT_EQ(Live(DDrawObjectKind::DirectDraw), 1u); }},
    {"QueryInterface", DDrawOp::QueryInterface,
     [](World& w) {
         IDirectDraw* other = nullptr;
         const HRESULT result = w.dd->QueryInterface(IID_IDirectDraw, reinterpret_cast<void**>(&other));
         if (result == DD_OK)
             other->Release();
         return result;
     },
     [](World& w) {
         EXPECT_EQ(w.dd->AddRef(), 3u);
         w.dd->Release();
     }},
    {"SetCooperativeLevel", DDrawOp::SetCooperativeLevel,
     [](World& w) { return w.dd->SetCooperativeLevel(w.window, DDSCL_NORMAL); },
     [](World& w) { EXPECT_EQ(w.first->SetDisplayMode(64, 32, 32), DD_OK); }},
    {"SetDisplayMode", DDrawOp::SetDisplayMode, [](World& w) { return w.first->SetDisplayMode(64, 32, 16); },
     [](World& w) {
         IDirectDrawSurface7* surface = nullptr;
         DDSURFACEDESC2 desc = OffscreenDesc(2, 2);
         ASSERT_EQ(w.dd->CreateSurface(&desc, &surface, nullptr), DD_OK);
         DDSURFACEDESC2 seen;
         seen.dwSize = sizeof(seen);
         EXPECT_EQ(surface->GetSurfaceDesc(&seen), DD_OK);
         EXPECT_EQ(seen.ddpfPixelFormat.dwRGBBitCount, 32u);
         surface->Release();
     }},
    {"CreateSurface", DDrawOp::CreateSurface,
     [](World& w) {
         IDirectDrawSurface7* surface = nullptr;
         DDSURFACEDESC2 desc = OffscreenDesc(2, 2);
         const HRESULT result = w.dd->CreateSurface(&desc, &surface, nullptr);
         if (result == DD_OK)
             surface->Release();
         else
             EXPECT_EQ(surface, nullptr);
         return result;
     },
     [](World&) { EXPECT_EQ(Live(DDrawObjectKind::Surface), 4u); }},
    {"CreateClipper", DDrawOp::CreateClipper,
     [](World& w) {
         IDirectDrawClipper* clipper = nullptr;
         const HRESULT result = w.dd->CreateClipper(0, &clipper, nullptr);
         if (result == DD_OK)
             clipper->Release();
         return result;
     },
     [](World&) { EXPECT_EQ(Live(DDrawObjectKind::Clipper), 1u); }},
    {"CreatePalette", DDrawOp::CreatePalette,
     [](World& w) {
         PALETTEENTRY entries[256] = {};
         IDirectDrawPalette* palette = nullptr;
         const HRESULT result = w.dd->CreatePalette(DDPCAPS_8BIT, entries, &palette, nullptr);
         if (result == DD_OK)
             palette->Release();
         return result;
     },
     [](World&) { EXPECT_EQ(Live(DDrawObjectKind::Palette), 1u); }},
    {"SetHWnd", DDrawOp::SetHWnd, [](World& w) { return w.clipper->SetHWnd(0, w.window); },
     [](World& w) {
         // Still bound to no window: a blit through it has no clip list.
         ASSERT_EQ(w.image->SetClipper(w.clipper), DD_OK);
         EXPECT_EQ(w.image->Blt(nullptr, w.back, nullptr, DDBLT_WAIT, nullptr), DDERR_NOCLIPLIST);
         ASSERT_EQ(w.image->SetClipper(nullptr), DD_OK);
     }},
    {"SetClipper", DDrawOp::SetClipper, [](World& w) { return w.image->SetClipper(w.clipper); },
     [](World& w) {
         RECT outside{30, 0, 40, 4};
         EXPECT_EQ(w.image->Blt(&outside, w.back, nullptr, DDBLT_WAIT, nullptr), DDERR_INVALIDRECT);
         EXPECT_EQ(w.clipper->AddRef(), 2u);
         w.clipper->Release();
     }},
    {"GetAttachedSurface", DDrawOp::GetAttachedSurface,
     [](World& w) {
         DDSCAPS2 caps;
         caps.dwCaps = DDSCAPS_BACKBUFFER;
         IDirectDrawSurface7* back = nullptr;
         const HRESULT result = w.primary->GetAttachedSurface(&caps, &back);
         if (result == DD_OK)
             back->Release();
         else
             EXPECT_EQ(back, nullptr);
         return result;
     },
     [](World& w) {
         EXPECT_EQ(w.back->AddRef(), 3u);
         w.back->Release();
     }},
    {"GetMonitorFrequency", DDrawOp::GetMonitorFrequency,
     [](World& w) {
         uint32_t hz = 12345;
         const HRESULT result = w.dd->GetMonitorFrequency(&hz);
         EXPECT_EQ(hz, result == DD_OK ? 60u : 12345u);
         return result;
     },
     [](World&) {}},
    {"Lock", DDrawOp::Lock,
     [](World& w) {
         DDSURFACEDESC2 desc;
         desc.dwSize = sizeof(desc);
         const HRESULT result = w.image->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr);
         if (result == DD_OK)
             w.image->Unlock(nullptr);
         else
             EXPECT_EQ(desc.lpSurface, nullptr);
         return result;
     },
     [](World& w) { EXPECT_EQ(w.image->Unlock(nullptr), DDERR_NOTLOCKED); }},
    {"Unlock", DDrawOp::Unlock,
     [](World& w) {
         DDSURFACEDESC2 desc;
         desc.dwSize = sizeof(desc);
         EXPECT_EQ(w.image->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
         const HRESULT result = w.image->Unlock(nullptr);
         if (result != DD_OK) {
             DDSURFACEDESC2 again;
             again.dwSize = sizeof(again);
             EXPECT_EQ(w.image->Lock(nullptr, &again, DDLOCK_WAIT, nullptr), DDERR_SURFACEBUSY);
             EXPECT_EQ(w.image->Unlock(nullptr), DD_OK);
         }
         return result;
     },
     [](World&) {}},
    {"Blt", DDrawOp::Blt, [](World& w) { return w.primary->Blt(nullptr, w.image, nullptr, DDBLT_WAIT, nullptr); },
     [](World& w) {
         EXPECT_EQ(ReadPixels(w.primary), std::vector<uint32_t>(32 * 16, 0));
     }},
    {"Flip", DDrawOp::Flip, [](World& w) { return w.primary->Flip(nullptr, DDFLIP_WAIT); },
     [](World& w) { EXPECT_EQ(ReadPixels(w.primary), std::vector<uint32_t>(32 * 16, 0)); }},
    {"SetColorKey", DDrawOp::SetColorKey,
     [](World& w) {
         DDCOLORKEY key{1, 1};
         return w.image->SetColorKey(DDCKEY_SRCBLT, &key);
     },
     [](World& w) { EXPECT_EQ(w.primary->Blt(nullptr, w.image, nullptr, DDBLT_KEYSRC, nullptr), DDERR_NOCOLORKEY); }},
    {"SetPalette", DDrawOp::SetPalette, [](World& w) { return w.indexed->SetPalette(w.palette); },
     [](World& w) {
         EXPECT_EQ(w.palette->AddRef(), 2u);
         w.palette->Release();
     }},
};

TEST_F(DDrawFailureInjectorTest, EachOperationFailsOnceChangingNothing)
{
    for (const InjectionCase& c : kCases) {
        SCOPED_TRACE(c.name);
        World world;
        mPresenter->presents.clear();
        DDrawRuntime::Get().ClearCallLog();
        DDrawRuntime::Get().InjectFailure(DDrawFault{c.op, kInjected});
        EXPECT_EQ(c.call(world), kInjected);
        EXPECT_TRUE(mPresenter->presents.empty());
        c.unchanged(world);
        EXPECT_EQ(c.call(world), DD_OK);
        bool logged = false;
        for (const DDrawCall& call : DDrawRuntime::Get().GetCallLog())
            if (call.op == c.op && call.result == kInjected)
                logged = true;
        EXPECT_TRUE(logged);
    }
}

TEST_F(DDrawFailureInjectorTest, CountsCapsAndInterfacesNarrowWhatFails)
{
    World world;
    DDrawRuntime::Get().InjectFailure(DDrawFault{DDrawOp::Blt, kInjected, 2, DDSCAPS_PRIMARYSURFACE});
    DDrawRuntime::Get().InjectFailure(DDrawFault::OfInterface(IID_IDirectDraw7, E_NOINTERFACE));
    DDrawRuntime::Get().InjectFailure(DDrawFault{DDrawOp::CreateSurface, DDERR_OUTOFVIDEOMEMORY, 1, DDSCAPS_VIDEOMEMORY});

    // Off-screen blits pass; the primary fails twice, then works.
    EXPECT_EQ(world.image->Blt(nullptr, world.back, nullptr, DDBLT_WAIT, nullptr), DD_OK);
    EXPECT_EQ(world.primary->Blt(nullptr, world.image, nullptr, DDBLT_WAIT, nullptr), kInjected);
    EXPECT_EQ(world.back->Blt(nullptr, world.image, nullptr, DDBLT_WAIT, nullptr), DD_OK);
    EXPECT_EQ(world.primary->Blt(nullptr, world.image, nullptr, DDBLT_WAIT, nullptr), kInjected);
    EXPECT_EQ(world.primary->Blt(nullptr, world.image, nullptr, DDBLT_WAIT, nullptr), DD_OK);

    void* out = nullptr;
    ASSERT_EQ(world.first->QueryInterface(IID_IDirectDraw, &out), DD_OK);
    static_cast<IDirectDraw*>(out)->Release();
    EXPECT_EQ(world.first->QueryInterface(IID_IDirectDraw7, &out), E_NOINTERFACE);
    ASSERT_EQ(world.first->QueryInterface(IID_IDirectDraw7, &out), DD_OK);
    static_cast<IDirectDraw7*>(out)->Release();

    IDirectDrawSurface7* surface = nullptr;
    DDSURFACEDESC2 system = OffscreenDesc(4, 4, DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY);
    ASSERT_EQ(world.dd->CreateSurface(&system, &surface, nullptr), DD_OK);
    surface->Release();
    DDSURFACEDESC2 video = OffscreenDesc(4, 4, DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY);
    EXPECT_EQ(world.dd->CreateSurface(&video, &surface, nullptr), DDERR_OUTOFVIDEOMEMORY);
    ASSERT_EQ(world.dd->CreateSurface(&video, &surface, nullptr), DD_OK);
    surface->Release();

    // Reset takes away faults not yet used.
    DDrawRuntime::Get().InjectFailure(DDrawFault{DDrawOp::Flip, kInjected});
    DDrawRuntime::Get().Reset();
    EXPECT_EQ(world.primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
}

TEST_F(DDrawFailureInjectorTest, SkippedCallsPassBeforeTheFaultFails)
{
    World world;
    DDrawFault fault{DDrawOp::Blt, kInjected, 1};
    fault.skip = 2;
    DDrawRuntime::Get().InjectFailure(fault);
    EXPECT_EQ(world.image->Blt(nullptr, world.back, nullptr, DDBLT_WAIT, nullptr), DD_OK);
    EXPECT_EQ(world.image->Blt(nullptr, world.back, nullptr, DDBLT_WAIT, nullptr), DD_OK);
    EXPECT_EQ(world.image->Blt(nullptr, world.back, nullptr, DDBLT_WAIT, nullptr), kInjected);
    EXPECT_EQ(world.image->Blt(nullptr, world.back, nullptr, DDBLT_WAIT, nullptr), DD_OK);
}

TEST_F(DDrawFailureInjectorTest, TheCallLogKeepsTheOrderAndTheDetails)
{
    World world;
    DDrawRuntime::Get().ClearCallLog();
    RECT to{1, 2, 11, 12};
    RECT from{0, 0, 5, 5};
    EXPECT_EQ(world.back->Blt(&to, world.image, &from, DDBLT_WAIT, nullptr), DD_OK);
    DDSURFACEDESC2 desc;
    desc.dwSize = sizeof(desc);
    EXPECT_EQ(world.image->Lock(nullptr, &desc, DDLOCK_WAIT | DDLOCK_READONLY, nullptr), DD_OK);
    EXPECT_EQ(world.primary->Blt(nullptr, world.image, nullptr, DDBLT_WAIT, nullptr), DDERR_SURFACEBUSY);
    EXPECT_EQ(world.image->Unlock(nullptr), DD_OK);
    EXPECT_EQ(world.primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
    EXPECT_EQ(world.first->SetDisplayMode(640, 480, 16), DD_OK);

    const std::vector<DDrawCall> log = DDrawRuntime::Get().GetCallLog();
    ASSERT_EQ(log.size(), 6u);
    const uint32_t flipPrimary = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    EXPECT_EQ(log[0].op, DDrawOp::Blt);
    EXPECT_EQ(log[0].caps, (flipPrimary & ~DDSCAPS_PRIMARYSURFACE) | DDSCAPS_BACKBUFFER);
    EXPECT_EQ(log[0].flags, DDBLT_WAIT);
    EXPECT_EQ(log[0].destRect, to);
    EXPECT_EQ(log[0].sourceRect, from);
    EXPECT_EQ(log[1].op, DDrawOp::Lock);
    EXPECT_EQ(log[1].flags, DDLOCK_WAIT | DDLOCK_READONLY);
    EXPECT_EQ(log[1].caps, DDSCAPS_OFFSCREENPLAIN);
    EXPECT_EQ(log[2].op, DDrawOp::Blt);
    EXPECT_EQ(log[2].caps, flipPrimary);
    EXPECT_FALSE(log[2].destRect.has_value());
    EXPECT_EQ(log[2].result, DDERR_SURFACEBUSY);
    EXPECT_EQ(log[3].op, DDrawOp::Unlock);
    EXPECT_EQ(log[4].op, DDrawOp::Flip);
    EXPECT_EQ(log[4].flags, DDFLIP_WAIT);
    EXPECT_EQ(log[5].op, DDrawOp::SetDisplayMode);
    EXPECT_EQ(log[5].flags, 16u);
    EXPECT_EQ(log[5].destRect, (RECT{0, 0, 640, 480}));
    EXPECT_STREQ(DDrawOpName(log[5].op), "SetDisplayMode");

    DDrawRuntime::Get().ClearCallLog();
    EXPECT_TRUE(DDrawRuntime::Get().GetCallLog().empty());
}

TEST_F(DDrawFailureInjectorTest, WithLoggingOffCallsStillWorkAndFaultsStillFireButNothingIsLogged)
{
    World world;
    DDrawSettings settings = DDrawRuntime::Get().GetSettings();
    settings.logCalls = false;
    DDrawRuntime::Get().SetSettings(settings);
    DDrawRuntime::Get().ClearCallLog();
    DDrawRuntime::Get().InjectFailure(DDrawFault{DDrawOp::Flip, kInjected});
    EXPECT_EQ(world.back->Blt(nullptr, world.image, nullptr, DDBLT_WAIT, nullptr), DD_OK);
    EXPECT_EQ(world.primary->Flip(nullptr, DDFLIP_WAIT), kInjected);
    EXPECT_EQ(world.primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
    EXPECT_TRUE(DDrawRuntime::Get().GetCallLog().empty());

    settings.logCalls = true;
    DDrawRuntime::Get().SetSettings(settings);
    EXPECT_EQ(world.primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
    EXPECT_EQ(DDrawRuntime::Get().GetCallLog().size(), 1u);
}

} // namespace
