// Shared pieces of the Direct3D stand-in's tests: the vertex the display code
// sends, a device over a render target of a chosen format, textures filled
// from ARGB words, and the read-back of a target pixel by its masks.
#pragma once

#include "platform/d3d/D3DConstants.h"
#include "platform/d3d/D3DInterfaces.h"
#include "platform/ddraw/DDrawTestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace D3DTest {

using namespace Platform;
using namespace DDrawTest;

// Position, diffuse, specular and one coordinate set: format 0x1C4.
struct TLVertex {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float rhw = 1.0f;
    uint32_t diffuse = 0xFFFFFFFFu;
    uint32_t specular = 0;
    float u = 0.0f;
    float v = 0.0f;
};
static_assert(sizeof(TLVertex) == 32);
inline constexpr uint32_t kTLFormat = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX1;

// A strip of two triangles over [x0, x1] x [y0, y1] with u over [u0, u1] and v over [v0, v1].
inline std::vector<TLVertex> Quad(float x0, float y0, float x1, float y1, uint32_t diffuse = 0xFFFFFFFFu,
                                  float u0 = 0.0f, float v0 = 0.0f, float u1 = 1.0f, float v1 = 1.0f)
{
    return {{x0, y0, 0, 1, diffuse, 0, u0, v0},
            {x0, y1, 0, 1, diffuse, 0, u0, v1},
            {x1, y0, 0, 1, diffuse, 0, u1, v0},
            {x1, y1, 0, 1, diffuse, 0, u1, v1}};
}

inline DDSURFACEDESC2 TargetDesc(uint32_t width, uint32_t height, DDrawFormat format,
                                 uint32_t caps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE)
{
    DDSURFACEDESC2 desc = OffscreenDesc(width, height, caps);
    desc.dwFlags |= DDSD_PIXELFORMAT;
    desc.ddpfPixelFormat = MakePixelFormat(format);
    return desc;
}

inline IDirectDrawSurface7* MakeTexture(IDirectDraw7* dd, uint32_t width, uint32_t height, DDrawFormat format)
{
    DDSURFACEDESC2 desc = TargetDesc(width, height, format, DDSCAPS_TEXTURE);
    desc.ddsCaps.dwCaps2 = DDSCAPS2_D3DTEXTUREMANAGE;
    IDirectDrawSurface7* texture = nullptr;
    EXPECT_EQ(dd->CreateSurface(&desc, &texture, nullptr), DD_OK);
    return texture;
}

// A DirectDraw object, its Direct3D object, a render target and a device on
// it, released in the reverse order at the end of the scope.
struct DeviceOn {
    DirectDraw7 dd;
    IDirect3D7* d3d = nullptr;
    IDirectDrawSurface7* target = nullptr;
    IDirect3DDevice7* device = nullptr;

    DeviceOn(uint32_t width, uint32_t height, DDrawFormat format = DDrawFormat::X8R8G8B8)
    {
        EXPECT_EQ(dd->QueryInterface(IID_IDirect3D7, reinterpret_cast<void**>(&d3d)), DD_OK);
        DDSURFACEDESC2 desc = TargetDesc(width, height, format);
        EXPECT_EQ(dd->CreateSurface(&desc, &target, nullptr), DD_OK);
        EXPECT_EQ(d3d->CreateDevice(IID_IDirect3DHALDevice, target, &device), DD_OK);
    }
    ~DeviceOn()
    {
        if (device != nullptr)
            device->Release();
        if (target != nullptr)
            target->Release();
        if (d3d != nullptr)
            d3d->Release();
    }
    DeviceOn(const DeviceOn&) = delete;
    DeviceOn& operator=(const DeviceOn&) = delete;
    IDirect3DDevice7* operator->() const { return device; }

    HRESULT Draw(uint32_t type, std::vector<TLVertex> vertices)
    {
        return device->DrawPrimitive(type, kTLFormat, vertices.data(), static_cast<uint32_t>(vertices.size()),
                                     D3DDP_WAIT);
    }
    // One scene: clear to `background`, then the draw.
    HRESULT DrawScene(uint32_t type, std::vector<TLVertex> vertices, uint32_t background = 0xFF000000u)
    {
        EXPECT_EQ(device->BeginScene(), DD_OK);
        EXPECT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, background, 1.0f, 0), DD_OK);
        const HRESULT result = Draw(type, std::move(vertices));
        EXPECT_EQ(device->EndScene(), DD_OK);
        return result;
    }
    void SetStates(std::initializer_list<std::pair<uint32_t, uint32_t>> states)
    {
        for (const auto& [state, value] : states)
            EXPECT_EQ(device->SetRenderState(state, value), DD_OK);
    }
    void SetStageStates(uint32_t stage, std::initializer_list<std::pair<uint32_t, uint32_t>> states)
    {
        for (const auto& [state, value] : states)
            EXPECT_EQ(device->SetTextureStageState(stage, state, value), DD_OK);
    }
    // The stored values of the target, row-major without padding.
    std::vector<uint32_t> Pixels() { return ReadPixels(target); }
    uint32_t Width()
    {
        DDSURFACEDESC2 desc;
        desc.dwSize = sizeof(desc);
        EXPECT_EQ(target->GetSurfaceDesc(&desc), DD_OK);
        return desc.dwWidth;
    }
    uint32_t Pixel(uint32_t x, uint32_t y) { return Pixels()[size_t{y} * Width() + x]; }
};

// The capability test's read-back: each channel's highest mask bit moved to
// bit 7 of its byte, the bits below left as stored, alpha 255.
inline uint32_t ReadBack(uint32_t raw, DDrawFormat format)
{
    struct Masks {
        uint32_t red, green, blue;
    };
    Masks m{};
    switch (format) {
    case DDrawFormat::R5G6B5: m = {0xF800, 0x07E0, 0x001F}; break;
    case DDrawFormat::X1R5G5B5: m = {0x7C00, 0x03E0, 0x001F}; break;
    case DDrawFormat::BGR565: m = {0x001F, 0x07E0, 0xF800}; break;
    default: m = {0xFF0000, 0xFF00, 0xFF}; break;
    }
    const auto place = [](uint32_t value, uint32_t mask, int top) {
        int high = 31;
        while (high > 0 && (mask & (1u << high)) == 0)
            --high;
        const uint32_t field = value & mask;
        return top >= high ? field << (top - high) : field >> (high - top);
    };
    return 0xFF000000u | place(raw, m.red, 23) | place(raw, m.green, 15) | place(raw, m.blue, 7);
}

// (Δred² + Δgreen² + Δblue²) of two 0xAARRGGBB colours.
inline int Distance2(uint32_t a, uint32_t b)
{
    int sum = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const int d = int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF);
        sum += d * d;
    }
    return sum;
}

// A fixture that also checks the Direct3D objects are all released.
using D3DFixture = DDrawFixture;

} // namespace D3DTest
