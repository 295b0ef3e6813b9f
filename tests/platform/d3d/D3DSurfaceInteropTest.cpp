// The device draws at once into its target's memory: DirectDraw blits and
// locks between draws see and keep every pixel in call order, a locked target
// or texture refuses the draw, and a primary target is shown after each scene.
#include "platform/d3d/D3DTestSupport.h"
#include "platform/headless/HeadlessPresenter.h"
#include "platform/window/WindowTestSupport.h"

namespace {

using namespace D3DTest;

using D3DSurfaceInteropTest = D3DFixture;

// A device drawing into the primary surface of a DirectDraw object in normal
// cooperation with a window; released in reverse order of creation.
struct PrimaryDevice {
    IDirectDrawSurface7* primary = nullptr;
    IDirect3D7* d3d = nullptr;
    IDirect3DDevice7* device = nullptr;

    void Open(IDirectDraw7* dd, WindowHandle window)
    {
        ASSERT_EQ(dd->SetCooperativeLevel(window, DDSCL_NORMAL), DD_OK);
        DDSURFACEDESC2 desc;
        desc.dwSize = sizeof(desc);
        desc.dwFlags = DDSD_CAPS;
        desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_3DDEVICE;
        ASSERT_EQ(dd->CreateSurface(&desc, &primary, nullptr), DD_OK);
        ASSERT_EQ(dd->QueryInterface(IID_IDirect3D7, reinterpret_cast<void**>(&d3d)), DD_OK);
        ASSERT_EQ(d3d->CreateDevice(IID_IDirect3DHALDevice, primary, &device), DD_OK);
    }
    ~PrimaryDevice()
    {
        if (device != nullptr)
            device->Release();
        if (d3d != nullptr)
            d3d->Release();
        if (primary != nullptr)
            primary->Release();
    }
};

TEST_F(D3DSurfaceInteropTest, BlitsAndLocksBetweenDrawsLandInCallOrder)
{
    DeviceOn scene(8, 4);
    scene.SetStates({{D3DRENDERSTATE_CULLMODE, D3DCULL_NONE}});
    DDSURFACEDESC2 desc = TargetDesc(8, 4, DDrawFormat::X8R8G8B8, DDSCAPS_OFFSCREENPLAIN);
    IDirectDrawSurface7* blue = nullptr;
    ASSERT_EQ(scene.dd->CreateSurface(&desc, &blue, nullptr), DD_OK);
    WritePixels(blue, std::vector<uint32_t>(32, 0x0000FF));

    ASSERT_EQ(scene->BeginScene(), DD_OK);
    // A: red everywhere.
    ASSERT_EQ(scene.Draw(D3DPT_TRIANGLESTRIP, Quad(-0.5f, -0.5f, 7.5f, 3.5f, 0xFFFF0000)), DD_OK);
    EXPECT_EQ(scene.Pixels(), std::vector<uint32_t>(32, 0xFF0000u));
    // B: blue over the left half.
    RECT half{0, 0, 4, 4};
    ASSERT_EQ(scene.target->Blt(&half, blue, &half, DDBLT_WAIT, nullptr), DD_OK);
    // C: green over columns 2 to 5 of rows 1 and 2.
    ASSERT_EQ(scene.Draw(D3DPT_TRIANGLESTRIP, Quad(1.5f, 0.5f, 5.5f, 2.5f, 0xFF00FF00)), DD_OK);
    const std::vector<uint32_t> pixels = scene.Pixels();
    ASSERT_EQ(scene->EndScene(), DD_OK);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 8; ++x) {
            const bool green = x >= 2 && x < 6 && y >= 1 && y < 3;
            EXPECT_EQ(pixels[y * 8 + x], green ? 0x00FF00u : (x < 4 ? 0x0000FFu : 0xFF0000u)) << x << "," << y;
        }
    }
    // A blit from the target takes what was drawn.
    ASSERT_EQ(blue->Blt(nullptr, scene.target, nullptr, DDBLT_WAIT, nullptr), DD_OK);
    EXPECT_EQ(ReadPixels(blue), pixels);
    blue->Release();
}

TEST_F(D3DSurfaceInteropTest, ALockedTargetOrTextureRefusesTheDrawAndChangesNothing)
{
    DeviceOn scene(4, 4);
    scene.SetStates({{D3DRENDERSTATE_CULLMODE, D3DCULL_NONE}});
    ASSERT_EQ(scene->BeginScene(), DD_OK);
    ASSERT_EQ(scene->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF203040, 1.0f, 0), DD_OK);
    const std::vector<uint32_t> before = scene.Pixels();
    DDSURFACEDESC2 desc;
    desc.dwSize = sizeof(desc);
    ASSERT_EQ(scene.target->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
    EXPECT_EQ(scene.Draw(D3DPT_TRIANGLESTRIP, Quad(-0.5f, -0.5f, 3.5f, 3.5f)), DDERR_SURFACEBUSY);
    EXPECT_EQ(scene->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFFFFFFFF, 1.0f, 0), DDERR_SURFACEBUSY);
    ASSERT_EQ(scene.target->Unlock(nullptr), DD_OK);
    EXPECT_EQ(scene.Pixels(), before);

    IDirectDrawSurface7* texture = MakeTexture(scene.dd.dd, 2, 2, DDrawFormat::A8R8G8B8);
    ASSERT_EQ(scene->SetTexture(0, texture), DD_OK);
    ASSERT_EQ(texture->Lock(nullptr, &desc, DDLOCK_WAIT | DDLOCK_WRITEONLY, nullptr), DD_OK);
    EXPECT_EQ(scene.Draw(D3DPT_TRIANGLESTRIP, Quad(-0.5f, -0.5f, 3.5f, 3.5f)), DDERR_SURFACEBUSY);
    ASSERT_EQ(texture->Unlock(nullptr), DD_OK);
    EXPECT_EQ(scene.Pixels(), before);
    EXPECT_EQ(scene.Draw(D3DPT_TRIANGLESTRIP, Quad(-0.5f, -0.5f, 3.5f, 3.5f)), DD_OK);
    EXPECT_NE(scene.Pixels(), before);
    ASSERT_EQ(scene->EndScene(), DD_OK);
    texture->Release();
}

TEST_F(D3DSurfaceInteropTest, APrimaryTargetIsPresentedAfterEachSceneAndEachClearOutsideOne)
{
    DirectDraw7 dd;
    PrimaryDevice opened;
    ASSERT_NO_FATAL_FAILURE(opened.Open(dd.dd, FakeWindow(1)));
    IDirect3DDevice7* device = opened.device;

    D3DRECT rect{10, 20, 30, 25};
    ASSERT_EQ(device->Clear(1, &rect, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0), DD_OK);
    ASSERT_EQ(mPresenter->presents.size(), 1u);
    EXPECT_EQ(mPresenter->presents.back().changed, (RECT{10, 20, 30, 25}));
    ASSERT_EQ(device->BeginScene(), DD_OK);
    ASSERT_EQ(device->Clear(1, &rect, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0), DD_OK);
    std::vector<TLVertex> quad = Quad(99.5f, 49.5f, 103.5f, 51.5f);
    ASSERT_EQ(device->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE), DD_OK);
    ASSERT_EQ(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, kTLFormat, quad.data(), 4, 0), DD_OK);
    EXPECT_EQ(mPresenter->presents.size(), 1u);
    ASSERT_EQ(device->EndScene(), DD_OK);
    ASSERT_EQ(mPresenter->presents.size(), 2u);
    EXPECT_EQ(mPresenter->presents.back().changed, (RECT{10, 20, 104, 52}));
}

TEST_F(D3DSurfaceInteropTest, TheHeadlessWindowShowsTheScenesDrawsAfterEndScene)
{
    DDrawRuntime::Get().SetPresenter(nullptr);
    WindowTestSupport::Desktop desktop;
    desktop.windows.SetScreenSize(1920, 1080);
    const WindowHandle window = desktop.CreateMain();
    // The client area at (448, 156) of the desktop, which the windowed primary covers.
    desktop.windows.MoveWindow(window, 445, 130, 1030, 797);
    HeadlessPresenter& presenter = desktop.platform.Presenter();
    {
        DirectDraw7 dd;
        PrimaryDevice opened;
        ASSERT_NO_FATAL_FAILURE(opened.Open(dd.dd, window));
        IDirect3DDevice7* device = opened.device;
        const uint32_t presents = presenter.GetPresentCount();
        ASSERT_EQ(device->BeginScene(), DD_OK);
        ASSERT_EQ(device->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE), DD_OK);
        std::vector<TLVertex> quad = Quad(448 + 4.5f, 156 + 6.5f, 448 + 8.5f, 156 + 9.5f, 0xFF336699);
        ASSERT_EQ(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, kTLFormat, quad.data(), 4, D3DDP_WAIT), DD_OK);
        EXPECT_EQ(presenter.GetPresentCount(), presents);
        ASSERT_EQ(device->EndScene(), DD_OK);
        EXPECT_EQ(presenter.GetPresentCount(), presents + 1);
        EXPECT_EQ(presenter.GetWindowPixel(5, 7), 0xFF336699u);
        EXPECT_EQ(presenter.GetWindowPixel(8, 9), 0xFF336699u);
        EXPECT_EQ(presenter.GetWindowPixel(9, 9), 0xFF000000u);
    }
}

} // namespace
