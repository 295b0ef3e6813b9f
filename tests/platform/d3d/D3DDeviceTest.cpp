// The Direct3D stand-in's objects and device calls: creation checks, the
// defaults a new device reports, states, viewports, render targets, scenes,
// clears, caps and formats, references and live counts, failure injection and
// the call log.
#include "platform/d3d/D3DTestSupport.h"

#include <algorithm>
#include <cstring>
#include <functional>

namespace {
// Any failure code will do; this one no call gives by itself.
constexpr Platform::HRESULT DDERR_GENERIC_TEST = Platform::DDERR_EXCEPTION;
} // namespace

namespace {

using namespace D3DTest;

using D3DDeviceTest = D3DFixture;

TEST_F(D3DDeviceTest, TheDirectDrawObjectHandsOutOneDirect3DObjectUnlessDirect3DIsAbsent)
{
    DirectDraw7 dd;
    IDirect3D7* first = nullptr;
    IDirect3D7* second = nullptr;
    ASSERT_EQ(dd->QueryInterface(IID_IDirect3D7, reinterpret_cast<void**>(&first)), DD_OK);
    ASSERT_EQ(dd->QueryInterface(IID_IDirect3D7, reinterpret_cast<void**>(&second)), DD_OK);
    EXPECT_EQ(first, second);
    EXPECT_EQ(DDrawRuntime::Get().LiveCount(DDrawObjectKind::Direct3D), 1u);
    // The Direct3D object keeps its DirectDraw object.
    EXPECT_EQ(first->Release(), 1u);
    dd->AddRef();
    EXPECT_EQ(dd->Release(), 2u);
    EXPECT_EQ(second->Release(), 0u);
    EXPECT_EQ(DDrawRuntime::Get().LiveCount(DDrawObjectKind::Direct3D), 0u);

    ChangeSettings([](DDrawSettings& s) { s.hasDirect3D = false; });
    void* none = &none;
    EXPECT_EQ(dd->QueryInterface(IID_IDirect3D7, &none), E_NOINTERFACE);
    EXPECT_EQ(none, nullptr);
}

TEST_F(D3DDeviceTest, CreateDeviceChecksTheIdTheCapsAndThePixelFormat)
{
    DirectDraw7 dd;
    IDirect3D7* d3d = nullptr;
    ASSERT_EQ(dd->QueryInterface(IID_IDirect3D7, reinterpret_cast<void**>(&d3d)), DD_OK);
    struct Case {
        const char* name;
        DDrawFormat format;
        uint32_t caps;
        IID id;
        HRESULT expected;
    };
    const Case cases[] = {
        {"32-bit", DDrawFormat::X8R8G8B8, DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE, IID_IDirect3DHALDevice, DD_OK},
        {"24-bit", DDrawFormat::R8G8B8, DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE, IID_IDirect3DHALDevice, DD_OK},
        {"BGR 565", DDrawFormat::BGR565, DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE, IID_IDirect3DHALDevice, DD_OK},
        {"no 3D caps", DDrawFormat::X8R8G8B8, DDSCAPS_OFFSCREENPLAIN, IID_IDirect3DHALDevice, DDERR_INVALIDCAPS},
        {"palettised", DDrawFormat::P8, DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE, IID_IDirect3DHALDevice,
         DDERR_INVALIDPIXELFORMAT},
        {"other device", DDrawFormat::X8R8G8B8, DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE, IID_IUnknown,
         E_NOINTERFACE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DDSURFACEDESC2 desc = TargetDesc(8, 8, c.format, c.caps);
        IDirectDrawSurface7* target = nullptr;
        ASSERT_EQ(dd->CreateSurface(&desc, &target, nullptr), DD_OK);
        IDirect3DDevice7* device = reinterpret_cast<IDirect3DDevice7*>(&desc);
        EXPECT_EQ(d3d->CreateDevice(c.id, target, &device), c.expected);
        if (c.expected == DD_OK) {
            ASSERT_NE(device, nullptr);
            device->Release();
        } else {
            EXPECT_EQ(device, nullptr);
        }
        target->Release();
    }
    EXPECT_EQ(d3d->CreateDevice(IID_IDirect3DHALDevice, nullptr, nullptr), DDERR_INVALIDPARAMS);
    d3d->Release();
}

TEST_F(D3DDeviceTest, ANewDeviceReportsTheDefaultsOfDirect3D7)
{
    DeviceOn scene(16, 8);
    const std::pair<uint32_t, uint32_t> render[] = {
        {D3DRENDERSTATE_ALPHABLENDENABLE, 0}, {D3DRENDERSTATE_SRCBLEND, D3DBLEND_ONE},
        {D3DRENDERSTATE_DESTBLEND, D3DBLEND_ZERO}, {D3DRENDERSTATE_CULLMODE, D3DCULL_CCW},
        {D3DRENDERSTATE_SHADEMODE, D3DSHADE_GOURAUD},
    };
    for (const auto& [state, expected] : render) {
        uint32_t value = 99;
        ASSERT_EQ(scene->GetRenderState(state, &value), DD_OK);
        EXPECT_EQ(value, expected) << "render state " << state;
    }
    for (uint32_t stage = 0; stage < 8; ++stage) {
        const bool first = stage == 0;
        const std::pair<uint32_t, uint32_t> stageStates[] = {
            {D3DTSS_COLOROP, first ? D3DTOP_MODULATE : D3DTOP_DISABLE},
            {D3DTSS_ALPHAOP, first ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE},
            {D3DTSS_COLORARG1, D3DTA_TEXTURE}, {D3DTSS_COLORARG2, D3DTA_CURRENT},
            {D3DTSS_ALPHAARG1, D3DTA_TEXTURE}, {D3DTSS_MINFILTER, D3DTFN_POINT},
            {D3DTSS_MAGFILTER, D3DTFG_POINT}, {D3DTSS_MIPFILTER, D3DTFP_NONE},
            {D3DTSS_ADDRESSU, D3DTADDRESS_WRAP}, {D3DTSS_ADDRESSV, D3DTADDRESS_WRAP},
        };
        for (const auto& [state, expected] : stageStates) {
            uint32_t value = 99;
            ASSERT_EQ(scene->GetTextureStageState(stage, state, &value), DD_OK);
            EXPECT_EQ(value, expected) << "stage " << stage << " state " << state;
        }
    }
    D3DVIEWPORT7 viewport;
    ASSERT_EQ(scene->GetViewport(&viewport), DD_OK);
    EXPECT_EQ(viewport.dwX, 0u);
    EXPECT_EQ(viewport.dwWidth, 16u);
    EXPECT_EQ(viewport.dwHeight, 8u);
    IDirectDrawSurface7* texture = reinterpret_cast<IDirectDrawSurface7*>(&viewport);
    ASSERT_EQ(scene->GetTexture(0, &texture), DD_OK);
    EXPECT_EQ(texture, nullptr);
}

TEST_F(D3DDeviceTest, StatesPersistAcrossScenesAndRenderTargets)
{
    DeviceOn scene(8, 8);
    scene.SetStates({{D3DRENDERSTATE_CULLMODE, D3DCULL_NONE}, {12345, 678}, {D3DRENDERSTATE_TEXTUREFACTOR, 0x55167C}});
    scene.SetStageStates(3, {{D3DTSS_COLOROP, D3DTOP_MODULATE}, {999, 5}});
    scene.SetStageStates(1, {{D3DTSS_ADDRESS, D3DTADDRESS_MIRROR}});
    EXPECT_EQ(scene->SetTextureStageState(8, D3DTSS_COLOROP, D3DTOP_MODULATE), DDERR_INVALIDPARAMS);
    ASSERT_EQ(scene->BeginScene(), DD_OK);
    ASSERT_EQ(scene->EndScene(), DD_OK);
    DDSURFACEDESC2 desc = TargetDesc(20, 10, DDrawFormat::R5G6B5);
    IDirectDrawSurface7* other = nullptr;
    ASSERT_EQ(scene.dd->CreateSurface(&desc, &other, nullptr), DD_OK);
    ASSERT_EQ(scene->SetRenderTarget(other, 0), DD_OK);
    uint32_t value = 0;
    EXPECT_EQ(scene->GetRenderState(D3DRENDERSTATE_CULLMODE, &value), DD_OK);
    EXPECT_EQ(value, D3DCULL_NONE);
    EXPECT_EQ(scene->GetRenderState(12345, &value), DD_OK);
    EXPECT_EQ(value, 678u);
    EXPECT_EQ(scene->GetTextureStageState(3, 999, &value), DD_OK);
    EXPECT_EQ(value, 5u);
    EXPECT_EQ(scene->GetTextureStageState(1, D3DTSS_ADDRESSV, &value), DD_OK);
    EXPECT_EQ(value, D3DTADDRESS_MIRROR);
    D3DVIEWPORT7 viewport;
    ASSERT_EQ(scene->GetViewport(&viewport), DD_OK);
    EXPECT_EQ(viewport.dwWidth, 20u);
    EXPECT_EQ(viewport.dwHeight, 10u);
    other->Release();
}

TEST_F(D3DDeviceTest, ViewportsMustLieInsideTheTargetAndClearsStayInside)
{
    DeviceOn scene(10, 6);
    D3DVIEWPORT7 outside{6, 0, 5, 6, 0.0f, 1.0f};
    EXPECT_EQ(scene->SetViewport(&outside), DDERR_INVALIDPARAMS);
    EXPECT_EQ(scene->SetViewport(nullptr), DDERR_INVALIDPARAMS);
    D3DVIEWPORT7 inner{2, 1, 6, 4, 0.0f, 1.0f};
    ASSERT_EQ(scene->SetViewport(&inner), DD_OK);
    ASSERT_EQ(scene->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0), DD_OK);
    // Two rectangles: one reaching outside the viewport, one wholly inside.
    D3DRECT rects[2] = {{0, 0, 4, 3}, {5, 3, 7, 5}};
    ASSERT_EQ(scene->Clear(2, rects, D3DCLEAR_TARGET, 0xFF123456, 1.0f, 0), DD_OK);
    const std::vector<uint32_t> pixels = scene.Pixels();
    for (uint32_t y = 0; y < 6; ++y) {
        for (uint32_t x = 0; x < 10; ++x) {
            const bool inViewport = x >= 2 && x < 8 && y >= 1 && y < 5;
            const bool inRects = (x < 4 && y < 3) || (x >= 5 && x < 7 && y >= 3 && y < 5);
            const uint32_t expected = !inViewport ? 0xCDCDCDCDu : (inRects ? 0x123456u : 0u);
            EXPECT_EQ(pixels[y * 10 + x], expected) << x << "," << y;
        }
    }
    EXPECT_EQ(scene->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0), D3DERR_ZBUFFER_NOTPRESENT);
    EXPECT_EQ(scene->Clear(0, nullptr, D3DCLEAR_STENCIL, 0, 1.0f, 0), D3DERR_STENCILBUFFER_NOTPRESENT);
    EXPECT_EQ(scene->Clear(1, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0), DDERR_INVALIDPARAMS);
    EXPECT_EQ(scene.Pixels(), pixels);
}

TEST_F(D3DDeviceTest, ScenesPairAndDrawsNeedAScene)
{
    DeviceOn scene(4, 4);
    EXPECT_EQ(scene->EndScene(), D3DERR_SCENE_NOT_IN_SCENE);
    EXPECT_EQ(scene.Draw(D3DPT_TRIANGLESTRIP, Quad(-0.5f, -0.5f, 3.5f, 3.5f)), D3DERR_SCENE_NOT_IN_SCENE);
    ASSERT_EQ(scene->BeginScene(), DD_OK);
    EXPECT_EQ(scene->BeginScene(), D3DERR_SCENE_IN_SCENE);
    EXPECT_EQ(scene->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0), DD_OK);
    EXPECT_EQ(scene->EndScene(), DD_OK);
    EXPECT_EQ(scene->EndScene(), D3DERR_SCENE_NOT_IN_SCENE);
}

TEST_F(D3DDeviceTest, BadVertexFormatsTypesAndPointersDrawNothing)
{
    DeviceOn scene(4, 4);
    ASSERT_EQ(scene->BeginScene(), DD_OK);
    ASSERT_EQ(scene->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0), DD_OK);
    std::vector<TLVertex> quad = Quad(-0.5f, -0.5f, 3.5f, 3.5f);
    EXPECT_EQ(scene->DrawPrimitive(D3DPT_TRIANGLESTRIP, kTLFormat | 0x200, quad.data(), 4, 0),
              D3DERR_INVALIDVERTEXFORMAT);
    EXPECT_EQ(scene->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_DIFFUSE, quad.data(), 4, 0), D3DERR_INVALIDVERTEXFORMAT);
    EXPECT_EQ(scene->DrawPrimitive(7, kTLFormat, quad.data(), 4, 0), D3DERR_INVALIDPRIMITIVETYPE);
    EXPECT_EQ(scene->DrawPrimitive(0, kTLFormat, quad.data(), 4, 0), D3DERR_INVALIDPRIMITIVETYPE);
    EXPECT_EQ(scene->DrawPrimitive(D3DPT_TRIANGLESTRIP, kTLFormat, nullptr, 4, 0), DDERR_INVALIDPARAMS);
    EXPECT_EQ(scene->DrawPrimitive(D3DPT_TRIANGLESTRIP, kTLFormat, nullptr, 0, 0), DD_OK);
    ASSERT_EQ(scene->EndScene(), DD_OK);
    EXPECT_EQ(scene.Pixels(), std::vector<uint32_t>(16, 0u));
}

TEST_F(D3DDeviceTest, VerticesWithoutDiffuseAreOpaqueWhite)
{
    DeviceOn scene(4, 4);
    // Position only: 16 bytes per vertex.
    const float quad[4][4] = {{-0.5f, -0.5f, 0, 1}, {-0.5f, 3.5f, 0, 1}, {3.5f, -0.5f, 0, 1}, {3.5f, 3.5f, 0, 1}};
    scene.SetStates({{D3DRENDERSTATE_CULLMODE, D3DCULL_NONE}});
    ASSERT_EQ(scene->BeginScene(), DD_OK);
    ASSERT_EQ(scene->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0), DD_OK);
    ASSERT_EQ(scene->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_XYZRHW, const_cast<float*>(&quad[0][0]), 4, 0), DD_OK);
    ASSERT_EQ(scene->EndScene(), DD_OK);
    EXPECT_EQ(scene.Pixels(), std::vector<uint32_t>(16, 0xFFFFFFu));
}

struct Collected {
    std::vector<DDPIXELFORMAT> formats;
    size_t stopAfter = 100;
};

HRESULT Collect(DDPIXELFORMAT* format, void* context)
{
    Collected& collected = *static_cast<Collected*>(context);
    collected.formats.push_back(*format);
    return collected.formats.size() >= collected.stopAfter ? D3DENUMRET_CANCEL : D3DENUMRET_OK;
}

bool SameFormat(const DDPIXELFORMAT& a, const DDPIXELFORMAT& b)
{
    return a.dwFlags == b.dwFlags && a.dwRGBBitCount == b.dwRGBBitCount && a.dwRBitMask == b.dwRBitMask &&
           a.dwGBitMask == b.dwGBitMask && a.dwBBitMask == b.dwBBitMask && a.dwRGBAlphaBitMask == b.dwRGBAlphaBitMask;
}

TEST_F(D3DDeviceTest, CapsAndTextureFormatsComeFromTheSettings)
{
    {
        DeviceOn scene(4, 4);
        D3DDEVICEDESC7 caps;
        ASSERT_EQ(scene->GetCaps(&caps), DD_OK);
        EXPECT_EQ(caps.dwMinTextureWidth, 1u);
        EXPECT_EQ(caps.dwMaxTextureHeight, 1024u);
        EXPECT_EQ(caps.dwMaxTextureAspectRatio, 1024u);
        EXPECT_EQ(caps.dpcTriCaps.dwTextureCaps & D3DPTEXTURECAPS_ALPHAPALETTE, D3DPTEXTURECAPS_ALPHAPALETTE);
        Collected all;
        ASSERT_EQ(scene->EnumTextureFormats(Collect, &all), DD_OK);
        // A8R8G8B8, A4R4G4B4, R5G6B5, palettised (flags 0x60), X1R5G5B5, A1R5G5B5.
        ASSERT_EQ(all.formats.size(), 6u);
        EXPECT_EQ(all.formats[0].dwFlags, 0x41u);
        EXPECT_EQ(all.formats[0].dwRGBAlphaBitMask, 0xFF000000u);
        EXPECT_EQ(all.formats[1].dwRGBAlphaBitMask, 0xF000u);
        EXPECT_EQ(all.formats[2].dwRBitMask, 0xF800u);
        EXPECT_EQ(all.formats[3].dwFlags, 0x60u);
        EXPECT_EQ(all.formats[3].dwRGBBitCount, 8u);
        EXPECT_EQ(all.formats[4].dwRBitMask, 0x7C00u);
        EXPECT_EQ(all.formats[5].dwRGBAlphaBitMask, 0x8000u);
        Collected two;
        two.stopAfter = 2;
        ASSERT_EQ(scene->EnumTextureFormats(Collect, &two), DD_OK);
        EXPECT_EQ(two.formats.size(), 2u);
        EXPECT_EQ(scene->EnumTextureFormats(nullptr, nullptr), DDERR_INVALIDPARAMS);
    }
    ChangeSettings([](DDrawSettings& s) {
        s.minTextureWidth = 0;
        s.minTextureHeight = 2;
        s.maxTextureWidth = 256;
        s.maxTextureHeight = 128;
        s.maxTextureAspectRatio = 2;
        s.alphaPaletteCap = false;
        s.textureFormats = {MakePixelFormat(DDrawFormat::R5G6B5), MakePixelFormat(DDrawFormat::A8R8G8B8)};
    });
    DeviceOn scene(4, 4);
    D3DDEVICEDESC7 caps;
    ASSERT_EQ(scene->GetCaps(&caps), DD_OK);
    EXPECT_EQ(caps.dwMinTextureWidth, 0u);
    EXPECT_EQ(caps.dwMinTextureHeight, 2u);
    EXPECT_EQ(caps.dwMaxTextureWidth, 256u);
    EXPECT_EQ(caps.dwMaxTextureHeight, 128u);
    EXPECT_EQ(caps.dwMaxTextureAspectRatio, 2u);
    EXPECT_EQ(caps.dpcTriCaps.dwTextureCaps & D3DPTEXTURECAPS_ALPHAPALETTE, 0u);
    Collected all;
    ASSERT_EQ(scene->EnumTextureFormats(Collect, &all), DD_OK);
    ASSERT_EQ(all.formats.size(), 2u);
    EXPECT_TRUE(SameFormat(all.formats[0], MakePixelFormat(DDrawFormat::R5G6B5)));
    EXPECT_TRUE(SameFormat(all.formats[1], MakePixelFormat(DDrawFormat::A8R8G8B8)));

    // Textures beyond the maximum are refused; other surfaces are not.
    DDSURFACEDESC2 desc = TargetDesc(257, 16, DDrawFormat::A8R8G8B8, DDSCAPS_TEXTURE);
    IDirectDrawSurface7* surface = nullptr;
    EXPECT_EQ(scene.dd->CreateSurface(&desc, &surface, nullptr), DDERR_TOOBIGSIZE);
    desc = TargetDesc(16, 129, DDrawFormat::A8R8G8B8, DDSCAPS_TEXTURE);
    EXPECT_EQ(scene.dd->CreateSurface(&desc, &surface, nullptr), DDERR_TOOBIGSIZE);
    desc = TargetDesc(256, 128, DDrawFormat::A8R8G8B8, DDSCAPS_TEXTURE);
    ASSERT_EQ(scene.dd->CreateSurface(&desc, &surface, nullptr), DD_OK);
    surface->Release();
    desc = TargetDesc(300, 300, DDrawFormat::A8R8G8B8, DDSCAPS_OFFSCREENPLAIN);
    ASSERT_EQ(scene.dd->CreateSurface(&desc, &surface, nullptr), DD_OK);
    surface->Release();
}

TEST_F(D3DDeviceTest, ReleasingEverythingInAnyOrderBringsEveryCountToZero)
{
    const auto live = [](DDrawObjectKind kind) { return DDrawRuntime::Get().LiveCount(kind); };
    // Each order releases the DirectDraw object, the Direct3D object, the
    // device, the target, the texture and the palette in a different sequence.
    const std::vector<std::vector<int>> orders = {{0, 1, 2, 3, 4, 5}, {5, 4, 3, 2, 1, 0}, {2, 0, 4, 1, 5, 3},
                                                  {3, 5, 0, 2, 4, 1}};
    for (const std::vector<int>& order : orders) {
        IDirectDraw7* dd = nullptr;
        ASSERT_EQ(DirectDrawCreateEx(nullptr, reinterpret_cast<void**>(&dd), IID_IDirectDraw7, nullptr), DD_OK);
        IDirect3D7* d3d = nullptr;
        ASSERT_EQ(dd->QueryInterface(IID_IDirect3D7, reinterpret_cast<void**>(&d3d)), DD_OK);
        DDSURFACEDESC2 desc = TargetDesc(8, 8, DDrawFormat::X8R8G8B8);
        IDirectDrawSurface7* target = nullptr;
        ASSERT_EQ(dd->CreateSurface(&desc, &target, nullptr), DD_OK);
        IDirect3DDevice7* device = nullptr;
        ASSERT_EQ(d3d->CreateDevice(IID_IDirect3DHALDevice, target, &device), DD_OK);
        IDirectDrawSurface7* texture = MakeTexture(dd, 8, 8, DDrawFormat::P8);
        PALETTEENTRY entries[256] = {};
        IDirectDrawPalette* palette = nullptr;
        ASSERT_EQ(dd->CreatePalette(DDPCAPS_8BIT | DDPCAPS_ALLOW256 | DDPCAPS_ALPHA, entries, &palette, nullptr),
                  DD_OK);
        ASSERT_EQ(texture->SetPalette(palette), DD_OK);
        ASSERT_EQ(device->SetTexture(2, texture), DD_OK);
        EXPECT_EQ(live(DDrawObjectKind::Direct3D), 1u);
        EXPECT_EQ(live(DDrawObjectKind::Device), 1u);
        IUnknown* objects[6] = {dd, d3d, device, target, texture, palette};
        for (int index : order)
            objects[index]->Release();
        for (DDrawObjectKind kind : {DDrawObjectKind::DirectDraw, DDrawObjectKind::Surface, DDrawObjectKind::Palette,
                                     DDrawObjectKind::Direct3D, DDrawObjectKind::Device})
            EXPECT_EQ(live(kind), 0u) << int(kind);
    }
}

TEST_F(D3DDeviceTest, TexturesMustBeTextureSurfacesAndTheDeviceHoldsThem)
{
    DeviceOn scene(4, 4);
    DDSURFACEDESC2 desc = TargetDesc(4, 4, DDrawFormat::A8R8G8B8, DDSCAPS_OFFSCREENPLAIN);
    IDirectDrawSurface7* plain = nullptr;
    ASSERT_EQ(scene.dd->CreateSurface(&desc, &plain, nullptr), DD_OK);
    EXPECT_EQ(scene->SetTexture(0, plain), DDERR_INVALIDPARAMS);
    plain->Release();
    IDirectDrawSurface7* texture = MakeTexture(scene.dd.dd, 4, 4, DDrawFormat::A8R8G8B8);
    EXPECT_EQ(scene->SetTexture(8, texture), DDERR_INVALIDPARAMS);
    ASSERT_EQ(scene->SetTexture(7, texture), DD_OK);
    // The caller's reference goes; the device's keeps the texture.
    EXPECT_EQ(texture->Release(), 1u);
    IDirectDrawSurface7* got = nullptr;
    ASSERT_EQ(scene->GetTexture(7, &got), DD_OK);
    EXPECT_EQ(got, texture);
    EXPECT_EQ(got->Release(), 1u);
    ASSERT_EQ(scene->SetTexture(7, nullptr), DD_OK);
    EXPECT_EQ(DDrawRuntime::Get().LiveCount(DDrawObjectKind::Surface), 1u); // the target
}

TEST_F(D3DDeviceTest, EachInjectedFailureHappensOnceAndTheLogKeepsTheCallsInOrder)
{
    DeviceOn scene(4, 4);
    IDirectDrawSurface7* texture = MakeTexture(scene.dd.dd, 4, 4, DDrawFormat::A8R8G8B8);
    struct Case {
        DDrawOp op;
        std::function<HRESULT()> call;
    };
    D3DDEVICEDESC7 caps;
    D3DVIEWPORT7 viewport{0, 0, 4, 4, 0.0f, 1.0f};
    std::vector<TLVertex> quad = Quad(-0.5f, -0.5f, 3.5f, 3.5f, 0xFF00FF00);
    DDDEVICEIDENTIFIER2 identifier;
    DDSCAPS2 video;
    video.dwCaps = DDSCAPS_VIDEOMEMORY;
    uint32_t total = 0;
    const std::vector<Case> cases = {
        {DDrawOp::GetCaps, [&] { return scene->GetCaps(&caps); }},
        {DDrawOp::EnumTextureFormats, [&] { return scene->EnumTextureFormats(Collect, nullptr); }},
        {DDrawOp::SetViewport, [&] { return scene->SetViewport(&viewport); }},
        {DDrawOp::SetRenderTarget, [&] { return scene->SetRenderTarget(scene.target, 0); }},
        {DDrawOp::BeginScene, [&] { return scene->BeginScene(); }},
        {DDrawOp::Clear, [&] { return scene->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFFFF0000, 1.0f, 0); }},
        {DDrawOp::SetTexture, [&] { return scene->SetTexture(0, texture); }},
        {DDrawOp::SetRenderState, [&] { return scene->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE); }},
        {DDrawOp::SetTextureStageState,
         [&] { return scene->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2); }},
        {DDrawOp::DrawPrimitive, [&] { return scene.Draw(D3DPT_TRIANGLESTRIP, quad); }},
        {DDrawOp::EndScene, [&] { return scene->EndScene(); }},
        {DDrawOp::GetDeviceIdentifier, [&] { return scene.dd->GetDeviceIdentifier(&identifier, 0); }},
        {DDrawOp::GetAvailableVidMem, [&] { return scene.dd->GetAvailableVidMem(&video, &total, nullptr); }},
    };
    // The collector must not be called while EnumTextureFormats fails.
    for (const Case& c : cases) {
        SCOPED_TRACE(DDrawOpName(c.op));
        const std::vector<uint32_t> before = scene.Pixels();
        DDrawRuntime::Get().InjectFailure(DDrawFault(c.op, DDERR_GENERIC_TEST));
        DDrawRuntime::Get().ClearCallLog();
        EXPECT_EQ(c.call(), DDERR_GENERIC_TEST);
        EXPECT_EQ(scene.Pixels(), before);
        const std::vector<DDrawCall> log = DDrawRuntime::Get().GetCallLog();
        ASSERT_FALSE(log.empty());
        EXPECT_EQ(log.front().op, c.op);
        EXPECT_EQ(log.front().result, DDERR_GENERIC_TEST);
        if (c.op != DDrawOp::EnumTextureFormats) {
            EXPECT_EQ(c.call(), DD_OK);
        }
    }
    // Creating a device.
    DDrawRuntime::Get().InjectFailure(DDrawFault(DDrawOp::CreateDevice, DDERR_GENERIC_TEST, 1, DDSCAPS_3DDEVICE));
    IDirect3DDevice7* second = nullptr;
    EXPECT_EQ(scene.d3d->CreateDevice(IID_IDirect3DHALDevice, scene.target, &second), DDERR_GENERIC_TEST);
    EXPECT_EQ(second, nullptr);
    EXPECT_EQ(DDrawRuntime::Get().LiveCount(DDrawObjectKind::Device), 1u);
    ASSERT_EQ(scene.d3d->CreateDevice(IID_IDirect3DHALDevice, scene.target, &second), DD_OK);
    EXPECT_EQ(DDrawRuntime::Get().LiveCount(DDrawObjectKind::Device), 2u);
    second->Release();
    // After the loop the scene ran: clear red, draw green.
    EXPECT_EQ(scene.Pixel(1, 1), 0x00FF00u);

    DDrawRuntime::Get().ClearCallLog();
    ASSERT_EQ(scene->BeginScene(), DD_OK);
    D3DRECT rect{1, 1, 3, 2};
    ASSERT_EQ(scene->Clear(1, &rect, D3DCLEAR_TARGET, 0xFF0000FF, 1.0f, 0), DD_OK);
    ASSERT_EQ(scene->SetTextureStageState(2, D3DTSS_MAGFILTER, D3DTFG_LINEAR), DD_OK);
    ASSERT_EQ(scene.Draw(D3DPT_TRIANGLELIST, {quad[0], quad[1], quad[2]}), DD_OK);
    ASSERT_EQ(scene->EndScene(), DD_OK);
    const std::vector<DDrawCall> log = DDrawRuntime::Get().GetCallLog();
    ASSERT_EQ(log.size(), 5u);
    EXPECT_EQ(log[0].op, DDrawOp::BeginScene);
    EXPECT_EQ(log[1].op, DDrawOp::Clear);
    ASSERT_EQ(log[1].rects.size(), 1u);
    EXPECT_EQ(log[1].rects[0], (RECT{1, 1, 3, 2}));
    EXPECT_EQ(log[1].colour, 0xFF0000FFu);
    EXPECT_EQ(log[2].stage, 2u);
    EXPECT_EQ(log[2].state, D3DTSS_MAGFILTER);
    EXPECT_EQ(log[2].value, D3DTFG_LINEAR);
    EXPECT_EQ(log[3].primitiveType, D3DPT_TRIANGLELIST);
    EXPECT_EQ(log[3].vertexFormat, kTLFormat);
    EXPECT_EQ(log[3].count, 3u);
    ASSERT_EQ(log[3].vertices.size(), 3 * sizeof(TLVertex));
    EXPECT_EQ(std::memcmp(log[3].vertices.data(), quad.data(), log[3].vertices.size()), 0);
    EXPECT_EQ(log[4].op, DDrawOp::EndScene);
    texture->Release();
}

} // namespace
