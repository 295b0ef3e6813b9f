// Texture reads of the Direct3D stand-in for one stage and one draw: texels
// decoded to 0xAARRGGBB (RGB formats by their masks, 8-bit textures through
// their palette), addressed by wrapping, mirroring, clamping or a border
// colour, and sampled at a point or bilinearly in fixed point.
#pragma once

#include "platform/d3d/D3DPixelLayout.h"

#include <array>
#include <cmath>
#include <cstdint>

namespace Platform {

class D3DTextureSampler {
public:
    // Over a texture's memory in an RGB format.
    D3DTextureSampler(const uint8_t* pixels, int32_t pitch, uint32_t width, uint32_t height,
                      const D3DPixelLayout& layout);
    // Over an 8-bit texture whose palette is already 0xAARRGGBB.
    D3DTextureSampler(const uint8_t* pixels, int32_t pitch, uint32_t width, uint32_t height,
                      const std::array<uint32_t, 256>& palette);

    // D3DTADDRESS_* of each direction, and the border colour of D3DTADDRESS_BORDER.
    void SetAddressing(uint32_t addressU, uint32_t addressV, uint32_t border);
    // Whether the magnification and the minification filters are linear.
    void SetFilters(bool linearMagnify, bool linearMinify);
    // A triangle that maps more than one texel to a pixel uses the minification filter.
    void ChooseFilter(bool minifying) { mLinear = minifying ? mLinearMinify : mLinearMagnify; }

    uint32_t Width() const { return mWidth; }
    uint32_t Height() const { return mHeight; }

    // The colour at texture coordinates (u, v) with the chosen filter.
    uint32_t Sample(double u, double v) const { return mLinear ? SampleLinear(u, v) : SamplePoint(u, v); }
    uint32_t SamplePoint(double u, double v) const;
    uint32_t SampleLinear(double u, double v) const;
    // Texel (x, y) after addressing.
    uint32_t Texel(int64_t x, int64_t y) const;

private:
    // Non-finite and huge coordinates are held where the arithmetic stays exact.
    static int64_t ToFixed(double position, double scale);
    // The texel index of one direction, or -1 for the border.
    static int64_t Address(int64_t index, int64_t size, uint32_t mode);

    const uint8_t* mPixels;
    int32_t mPitch;
    uint32_t mWidth;
    uint32_t mHeight;
    D3DPixelLayout mLayout;
    bool mPalettised;
    std::array<uint32_t, 256> mPalette{};
    uint32_t mAddressU = 1;
    uint32_t mAddressV = 1;
    uint32_t mBorder = 0;
    bool mLinearMagnify = false;
    bool mLinearMinify = false;
    bool mLinear = false;
};

} // namespace Platform
