// Drives the Direct3D stand-in's device with a render target of every pixel
// layout and a padded pitch, a viewport, render and stage states (valid or
// not), a texture of any format and size with or without a palette, and a
// primitive of any type, vertex format, count and vertex bytes. However the
// call ends, no byte outside the viewport's pixels changes (the padding and
// the rest of the surface included); a refused call changes nothing, and a
// bad vertex format or primitive type gives its own code.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <vector>

#include "platform/d3d/D3DConstants.h"
#include "platform/d3d/D3DInterfaces.h"
#include "platform/ddraw/DDrawConstants.h"
#include "platform/ddraw/DDrawEntryPoints.h"
#include "platform/ddraw/DDrawPixelFormat.h"
#include "platform/ddraw/DDrawRuntime.h"
#include "tests/fuzz/FuzzBytes.h"

namespace {

using namespace Platform;

constexpr DDrawFormat kTargets[] = {DDrawFormat::X8R8G8B8, DDrawFormat::A8R8G8B8, DDrawFormat::R5G6B5,
                                    DDrawFormat::X1R5G5B5, DDrawFormat::BGR565, DDrawFormat::R8G8B8};
constexpr DDrawFormat kTextures[] = {DDrawFormat::A8R8G8B8, DDrawFormat::A4R4G4B4, DDrawFormat::R5G6B5,
                                     DDrawFormat::X1R5G5B5, DDrawFormat::A1R5G5B5, DDrawFormat::R8G8B8,
                                     DDrawFormat::P8, DDrawFormat::P8Texture};
constexpr uint32_t kRenderStates[] = {D3DRENDERSTATE_ALPHABLENDENABLE, D3DRENDERSTATE_SRCBLEND,
                                      D3DRENDERSTATE_DESTBLEND,        D3DRENDERSTATE_CULLMODE,
                                      D3DRENDERSTATE_SPECULARENABLE,   D3DRENDERSTATE_TEXTUREFACTOR};
constexpr uint32_t kStageStates[] = {D3DTSS_COLOROP,   D3DTSS_COLORARG1, D3DTSS_COLORARG2, D3DTSS_ALPHAOP,
                                     D3DTSS_ALPHAARG1, D3DTSS_ALPHAARG2, D3DTSS_ADDRESS,   D3DTSS_ADDRESSU,
                                     D3DTSS_ADDRESSV,  D3DTSS_BORDERCOLOR, D3DTSS_MAGFILTER, D3DTSS_MINFILTER,
                                     D3DTSS_MIPFILTER};
// The valid formats and a few that are not.
constexpr uint32_t kVertexFormats[] = {0x1C4, D3DFVF_XYZRHW, D3DFVF_XYZRHW | D3DFVF_DIFFUSE,
                                       D3DFVF_XYZRHW | D3DFVF_TEX1, D3DFVF_XYZRHW | D3DFVF_SPECULAR,
                                       0x1C4 | 0x200, D3DFVF_DIFFUSE, 0x002};

bool ValidFormat(uint32_t format) { return format != (0x1C4 | 0x200) && format != D3DFVF_DIFFUSE && format != 0x002; }

uint32_t Stride(uint32_t format)
{
    return 16 + ((format & D3DFVF_DIFFUSE) ? 4 : 0) + ((format & D3DFVF_SPECULAR) ? 4 : 0) +
           ((format & D3DFVF_TEX1) ? 8 : 0);
}

// A state's value: mostly one of the meaningful small numbers, sometimes anything.
uint32_t StateValue(FuzzBytes& in)
{
    switch (in.Byte() % 4) {
    case 0: return static_cast<uint32_t>(in.Range(0, 0xFFFF)) * 0x10001u;
    default: return static_cast<uint32_t>(in.Range(0, 25)) | (in.Byte() % 8 == 0 ? D3DTA_COMPLEMENT : 0u);
    }
}

std::vector<uint8_t> Bytes(IDirectDrawSurface7* surface, uint32_t& pitch)
{
    DDSURFACEDESC2 desc;
    desc.dwSize = sizeof(desc);
    FuzzCheck(surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr) == DD_OK);
    pitch = static_cast<uint32_t>(desc.lPitch);
    const uint8_t* first = static_cast<const uint8_t*>(desc.lpSurface);
    std::vector<uint8_t> bytes(first, first + size_t{pitch} * desc.dwHeight);
    FuzzCheck(surface->Unlock(nullptr) == DD_OK);
    return bytes;
}

void Run(FuzzBytes& in)
{
    DDrawSettings settings;
    settings.fillByte = 0xA5;
    settings.pitchPadding = static_cast<uint32_t>(in.Range(0, 24));
    DDrawRuntime::Get().SetSettings(settings);

    IDirectDraw7* dd = nullptr;
    FuzzCheck(DirectDrawCreateEx(nullptr, reinterpret_cast<void**>(&dd), IID_IDirectDraw7, nullptr) == DD_OK);
    IDirect3D7* d3d = nullptr;
    FuzzCheck(dd->QueryInterface(IID_IDirect3D7, reinterpret_cast<void**>(&d3d)) == DD_OK);

    const DDrawFormat targetFormat = kTargets[in.Byte() % std::size(kTargets)];
    const uint32_t width = static_cast<uint32_t>(in.Range(1, 40));
    const uint32_t height = static_cast<uint32_t>(in.Range(1, 40));
    DDSURFACEDESC2 desc;
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    desc.dwWidth = width;
    desc.dwHeight = height;
    desc.ddpfPixelFormat = MakePixelFormat(targetFormat);
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE;
    IDirectDrawSurface7* target = nullptr;
    FuzzCheck(dd->CreateSurface(&desc, &target, nullptr) == DD_OK);
    IDirect3DDevice7* device = nullptr;
    FuzzCheck(d3d->CreateDevice(IID_IDirect3DHALDevice, target, &device) == DD_OK);

    D3DVIEWPORT7 viewport;
    viewport.dwX = static_cast<uint32_t>(in.Range(0, int(width) - 1));
    viewport.dwY = static_cast<uint32_t>(in.Range(0, int(height) - 1));
    viewport.dwWidth = static_cast<uint32_t>(in.Range(1, int(width - viewport.dwX)));
    viewport.dwHeight = static_cast<uint32_t>(in.Range(1, int(height - viewport.dwY)));
    if (in.Bool())
        FuzzCheck(device->SetViewport(&viewport) == DD_OK);
    else
        FuzzCheck(device->GetViewport(&viewport) == DD_OK);

    // The texture and its palette.
    IDirectDrawSurface7* texture = nullptr;
    IDirectDrawPalette* palette = nullptr;
    if (in.Bool()) {
        const DDrawFormat format = kTextures[in.Byte() % std::size(kTextures)];
        DDSURFACEDESC2 texDesc = desc;
        texDesc.dwWidth = static_cast<uint32_t>(in.Range(1, 16));
        texDesc.dwHeight = static_cast<uint32_t>(in.Range(1, 16));
        texDesc.ddpfPixelFormat = MakePixelFormat(format);
        texDesc.ddsCaps.dwCaps = DDSCAPS_TEXTURE;
        FuzzCheck(dd->CreateSurface(&texDesc, &texture, nullptr) == DD_OK);
        DDSURFACEDESC2 locked;
        locked.dwSize = sizeof(locked);
        FuzzCheck(texture->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr) == DD_OK);
        uint8_t* bytes = static_cast<uint8_t*>(locked.lpSurface);
        for (size_t i = 0; i < size_t{static_cast<uint32_t>(locked.lPitch)} * locked.dwHeight; ++i)
            bytes[i] = in.Byte();
        FuzzCheck(texture->Unlock(nullptr) == DD_OK);
        if ((format == DDrawFormat::P8 || format == DDrawFormat::P8Texture) && in.Bool()) {
            PALETTEENTRY entries[256];
            for (PALETTEENTRY& entry : entries)
                entry = {in.Byte(), in.Byte(), in.Byte(), in.Byte()};
            const uint32_t flags = DDPCAPS_8BIT | DDPCAPS_ALLOW256 | (in.Bool() ? DDPCAPS_ALPHA : 0u);
            FuzzCheck(dd->CreatePalette(flags, entries, &palette, nullptr) == DD_OK);
            FuzzCheck(texture->SetPalette(palette) == DD_OK);
        }
        FuzzCheck(device->SetTexture(static_cast<uint32_t>(in.Range(0, 1)), texture) == DD_OK);
    }

    // States, each a known state with any value.
    bool badCull = false;
    const int states = in.Range(0, 10);
    for (int i = 0; i < states; ++i) {
        if (in.Bool()) {
            const uint32_t state = kRenderStates[in.Byte() % std::size(kRenderStates)];
            const uint32_t value = StateValue(in);
            FuzzCheck(device->SetRenderState(state, value) == DD_OK);
        } else {
            const uint32_t stage = static_cast<uint32_t>(in.Range(0, 2));
            const uint32_t state = kStageStates[in.Byte() % std::size(kStageStates)];
            FuzzCheck(device->SetTextureStageState(stage, state, StateValue(in)) == DD_OK);
        }
    }
    uint32_t cull = 0;
    FuzzCheck(device->GetRenderState(D3DRENDERSTATE_CULLMODE, &cull) == DD_OK);
    badCull = cull < D3DCULL_NONE || cull > D3DCULL_CCW;

    // The primitive.
    const uint32_t type = static_cast<uint32_t>(in.Range(0, 7));
    const uint32_t format = kVertexFormats[in.Byte() % std::size(kVertexFormats)];
    const uint32_t count = static_cast<uint32_t>(in.Range(0, 24));
    std::vector<uint8_t> vertices(size_t{count} * Stride(format));
    for (size_t offset = 0; offset + 4 <= vertices.size(); offset += 4) {
        uint32_t word;
        if (in.Bool()) {
            const float value = in.Float(-8, 48);
            std::memcpy(&word, &value, sizeof word);
        } else {
            word = uint32_t{in.Byte()} | uint32_t{in.Byte()} << 8 | uint32_t{in.Byte()} << 16 |
                   uint32_t{in.Byte()} << 24;
        }
        std::memcpy(vertices.data() + offset, &word, sizeof word);
    }

    uint32_t pitch = 0;
    const std::vector<uint8_t> before = Bytes(target, pitch);
    FuzzCheck(device->BeginScene() == DD_OK);
    if (in.Byte() % 4 == 0) {
        D3DRECT rect{in.Range(-8, 48), in.Range(-8, 48), in.Range(-8, 48), in.Range(-8, 48)};
        FuzzCheck(device->Clear(in.Bool() ? 1 : 0, &rect, D3DCLEAR_TARGET, 0xFF000000u | in.Byte(), 1.0f, 0) ==
                  DD_OK);
    }
    // The target may be locked between any two calls.
    const std::vector<uint8_t> cleared = Bytes(target, pitch);
    const HRESULT drawn =
        device->DrawPrimitive(type, format, vertices.empty() ? nullptr : vertices.data(), count, D3DDP_WAIT);
    FuzzCheck(device->EndScene() == DD_OK);
    const std::vector<uint8_t> after = Bytes(target, pitch);

    if (!ValidFormat(format))
        FuzzCheck(drawn == D3DERR_INVALIDVERTEXFORMAT);
    else if (type < D3DPT_POINTLIST || type > D3DPT_TRIANGLEFAN)
        FuzzCheck(drawn == D3DERR_INVALIDPRIMITIVETYPE);
    else if (badCull)
        FuzzCheck(drawn == DDERR_INVALIDPARAMS);
    if (drawn != DD_OK)
        FuzzCheck(after == cleared);
    const uint32_t bytesPerPixel = BytesPerPixel(MakePixelFormat(targetFormat));
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < pitch; ++x) {
            const uint32_t column = x / bytesPerPixel;
            const bool inViewport = x < width * bytesPerPixel && column >= viewport.dwX &&
                                    column < viewport.dwX + viewport.dwWidth && y >= viewport.dwY &&
                                    y < viewport.dwY + viewport.dwHeight;
            if (!inViewport)
                FuzzCheck(after[size_t{y} * pitch + x] == before[size_t{y} * pitch + x]);
        }
    }

    device->Release();
    if (texture != nullptr)
        texture->Release();
    if (palette != nullptr)
        palette->Release();
    target->Release();
    d3d->Release();
    dd->Release();
    for (DDrawObjectKind kind : {DDrawObjectKind::DirectDraw, DDrawObjectKind::Surface, DDrawObjectKind::Palette,
                                 DDrawObjectKind::Direct3D, DDrawObjectKind::Device})
        FuzzCheck(DDrawRuntime::Get().LiveCount(kind) == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    DDrawRuntime::Get().Reset();
    FuzzBytes in(data, size);
    Run(in);
    DDrawRuntime::Get().Reset();
    return 0;
}
