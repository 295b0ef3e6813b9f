#include "platform/ddraw/DDrawRefCount.h"

#include "platform/ddraw/DDrawTestSupport.h"

#include <algorithm>
#include <functional>
#include <random>
#include <thread>

namespace {

using namespace Platform;
using namespace DDrawTest;

class DDrawRefCountTest : public DDrawFixture {
protected:
    uint32_t Live(DDrawObjectKind kind) { return DDrawRuntime::Get().LiveCount(kind); }
};

// Every kind of object, tied to each other as the display ties them, released
// in many orders: nothing is left and nothing is freed early (the sanitizer
// sees any use after free).
TEST_F(DDrawRefCountTest, ReleasingEverythingInAnyOrderLeavesNothing)
{
    mPresenter->desktopWidth = 64;
    mPresenter->desktopHeight = 48;
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        SCOPED_TRACE(round);
        IDirectDraw* first = nullptr;
        ASSERT_EQ(DirectDrawCreate(nullptr, &first, nullptr), DD_OK);
        IDirectDraw7* dd = nullptr;
        ASSERT_EQ(first->QueryInterface(IID_IDirectDraw7, reinterpret_cast<void**>(&dd)), DD_OK);
        ASSERT_EQ(dd->SetCooperativeLevel(FakeWindow(1), DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE), DD_OK);
        DDSURFACEDESC2 desc;
        desc.dwSize = sizeof(desc);
        desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
        desc.dwBackBufferCount = 1;
        desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
        IDirectDrawSurface7* primary = nullptr;
        ASSERT_EQ(dd->CreateSurface(&desc, &primary, nullptr), DD_OK);
        DDSCAPS2 caps;
        caps.dwCaps = DDSCAPS_BACKBUFFER;
        IDirectDrawSurface7* back = nullptr;
        ASSERT_EQ(primary->GetAttachedSurface(&caps, &back), DD_OK);
        IDirectDrawSurface* primaryFirst = nullptr;
        ASSERT_EQ(primary->QueryInterface(IID_IDirectDrawSurface, reinterpret_cast<void**>(&primaryFirst)), DD_OK);
        IDirectDrawSurface7* indexed = MakeSurface(dd, 8, 8, DDrawFormat::P8);
        IDirectDrawClipper* clipper = nullptr;
        ASSERT_EQ(dd->CreateClipper(0, &clipper, nullptr), DD_OK);
        ASSERT_EQ(primary->SetClipper(clipper), DD_OK);
        PALETTEENTRY entries[256] = {};
        IDirectDrawPalette* palette = nullptr;
        ASSERT_EQ(dd->CreatePalette(DDPCAPS_8BIT | DDPCAPS_ALLOW256, entries, &palette, nullptr), DD_OK);
        ASSERT_EQ(indexed->SetPalette(palette), DD_OK);

        DDSURFACEDESC2 seen;
        seen.dwSize = sizeof(seen);
        DDSURFACEDESC seenFirst;
        seenFirst.dwSize = sizeof(seenFirst);
        PALETTEENTRY entry;
        // Each reference with a call that must still work while it is held.
        struct Held {
            std::function<void()> release;
            std::function<HRESULT()> use;
        };
        std::vector<Held> held = {
            {[&] { first->Release(); }, [&] { return first->FlipToGDISurface(); }},
            {[&] { dd->Release(); }, [&] { return dd->FlipToGDISurface(); }},
            {[&] { primary->Release(); }, [&] { return primary->GetSurfaceDesc(&seen); }},
            {[&] { back->Release(); }, [&] { return back->GetSurfaceDesc(&seen); }},
            {[&] { primaryFirst->Release(); }, [&] { return primaryFirst->GetSurfaceDesc(&seenFirst); }},
            {[&] { indexed->Release(); }, [&] { return indexed->GetSurfaceDesc(&seen); }},
            {[&] { clipper->Release(); }, [&] { return clipper->SetHWnd(0, FakeWindow(2)); }},
            {[&] { palette->Release(); }, [&] { return palette->GetEntries(0, 0, 1, &entry); }},
        };
        std::shuffle(held.begin(), held.end(), random);
        for (size_t i = 0; i < held.size(); ++i) {
            held[i].release();
            for (size_t j = i + 1; j < held.size(); ++j)
                ASSERT_EQ(held[j].use(), DD_OK);
        }
        for (DDrawObjectKind kind : {DDrawObjectKind::DirectDraw, DDrawObjectKind::Surface, DDrawObjectKind::Clipper,
                                     DDrawObjectKind::Palette})
            ASSERT_EQ(Live(kind), 0u) << static_cast<int>(kind);
    }
}

TEST_F(DDrawRefCountTest, SurfacesOutliveTheirDirectDrawObject)
{
    mPresenter->desktopWidth = 32;
    mPresenter->desktopHeight = 16;
    IDirectDrawSurface7* primary = nullptr;
    IDirectDrawSurface7* image = nullptr;
    {
        DirectDraw7 dd;
        ASSERT_EQ(dd->SetCooperativeLevel(FakeWindow(1), DDSCL_NORMAL), DD_OK);
        DDSURFACEDESC2 desc;
        desc.dwSize = sizeof(desc);
        desc.dwFlags = DDSD_CAPS;
        desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
        ASSERT_EQ(dd->CreateSurface(&desc, &primary, nullptr), DD_OK);
        image = MakeSurface(dd.dd, 4, 4, DDrawFormat::X8R8G8B8);
    }
    EXPECT_EQ(DDrawRuntime::Get().LiveCount(DDrawObjectKind::DirectDraw), 0u);
    WritePixels(image, std::vector<uint32_t>(16, 0x00ABCDEF));
    RECT to{2, 2, 6, 6};
    ASSERT_EQ(primary->Blt(&to, image, nullptr, DDBLT_WAIT, nullptr), DD_OK);
    EXPECT_EQ(ReadPixels(primary)[2 * 32 + 2], 0x00ABCDEFu);
    EXPECT_EQ(mPresenter->presents.size(), 1u);
    primary->Release();
    image->Release();
}

TEST_F(DDrawRefCountTest, TwoThreadsCreateAndReleaseThousandsOfSurfaces)
{
    DirectDraw7 dd;
    IDirectDraw7* shared = dd.dd;
    const auto work = [shared] {
        for (int i = 0; i < 1000; ++i) {
            IDirectDrawSurface7* surface = MakeSurface(shared, 16, 8, DDrawFormat::R5G6B5);
            if (surface == nullptr)
                return;
            IDirectDrawSurface* other = nullptr;
            surface->QueryInterface(IID_IDirectDrawSurface, reinterpret_cast<void**>(&other));
            surface->AddRef();
            surface->Release();
            other->Release();
            surface->Release();
        }
    };
    std::thread one(work);
    std::thread two(work);
    one.join();
    two.join();
    EXPECT_EQ(DDrawRuntime::Get().LiveCount(DDrawObjectKind::Surface), 0u);
    // The object's creation, then a creation and a query per surface: no entry lost.
    EXPECT_EQ(DDrawRuntime::Get().GetCallLog().size(), 4001u);
}

} // namespace
