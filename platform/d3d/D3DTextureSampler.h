// Texture reads of the Direct3D stand-in for one stage and one draw: texels
// decoded to 0xAARRGGBB (RGB formats by their masks, 8-bit textures through
// their palette), addressed by wrapping, mirroring, clamping or a border
// colour, and sampled at a point or bilinearly in fixed point.
#pragma once

#include "platform/d3d/D3DPixelLayout.h"

#include "platform/d3d/D3DConstants.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace Platform {

// Texture coordinates beyond this many texels (or 1/256 texels in fixed point)
// are held at it: far past any texture size, and far from overflow.
inline constexpr double kD3DCoordinateLimit = double(int64_t{1} << 40);

// floor(value) held in +-kD3DCoordinateLimit, 0 for not a number. Inside the
// limit the truncation is exact, so no library call sits in the span loops.
[[gnu::always_inline]] inline int64_t D3DFloorIndex(double value)
{
    if (value >= -kD3DCoordinateLimit && value <= kD3DCoordinateLimit) {
        const auto truncated = static_cast<int64_t>(value);
        return truncated - (static_cast<double>(truncated) > value ? 1 : 0);
    }
    if (!(value == value))
        return 0;
    return static_cast<int64_t>(value < 0.0 ? -kD3DCoordinateLimit : kD3DCoordinateLimit);
}

// Each channel (sum of texel * weight + 32768) >> 16 of four texels; the weights sum to 65536.
inline uint32_t D3DBilinear(const uint32_t (&texels)[4], uint32_t wx, uint32_t wy)
{
    const uint32_t weights[4] = {(256 - wx) * (256 - wy), wx * (256 - wy), (256 - wx) * wy, wx * wy};
    uint32_t result = 0;
    for (uint32_t shift = 0; shift < 32; shift += 8) {
        uint32_t sum = 32768;
        for (int i = 0; i < 4; ++i)
            sum += ((texels[i] >> shift) & 0xFF) * weights[i];
        result |= (sum >> 16) << shift;
    }
    return result;
}

// D3DBilinear with two channels per 64-bit product: each channel's sum stays
// below 2^25, so blue and red (and green and alpha) share one multiply per
// texel 32 bits apart. The span loops use it.
[[gnu::always_inline]] inline uint32_t D3DBilinearPairs(const uint32_t (&texels)[4], uint32_t wx, uint32_t wy)
{
    const uint64_t weights[4] = {(256 - wx) * (256 - wy), wx * (256 - wy), (256 - wx) * wy, wx * wy};
    uint64_t blueRed = (uint64_t{32768} << 32) | 32768;
    uint64_t greenAlpha = blueRed;
    for (int i = 0; i < 4; ++i) {
        const uint64_t texel = texels[i];
        blueRed += ((texel & 0xFF) | ((texel & 0xFF0000) << 16)) * weights[i];
        greenAlpha += (((texel >> 8) & 0xFF) | ((texel & 0xFF000000) << 8)) * weights[i];
    }
    return static_cast<uint32_t>(((blueRed >> 16) & 0xFF) | ((blueRed >> 32) & 0xFF0000) |
                                 ((greenAlpha >> 8) & 0xFF00) | ((greenAlpha >> 24) & 0xFF000000));
}

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
    bool Linear() const { return mLinear; }
    // Whether texels are A8R8G8B8 or X8R8G8B8 words, read without decoding
    // (alpha 255 without HasAlpha).
    bool IsArgb8888() const { return !mPalettised && mLayout.IsArgb8888(); }
    bool HasAlpha() const { return mPalettised || mLayout.HasAlpha(); }
    // The stored texels of row `y` (in range).
    const uint8_t* Row(int64_t y) const { return mPixels + y * int64_t{mPitch}; }
    int32_t Pitch() const { return mPitch; }
    // The colour at texture coordinates (u, v) with the chosen filter.
    uint32_t Sample(double u, double v) const { return mLinear ? SampleLinear(u, v) : SamplePoint(u, v); }
    uint32_t SamplePoint(double u, double v) const
    {
        // floor(u * W) through 1/256 texels would round; the texel index is the floor itself.
        return Texel(D3DFloorIndex(u * mWidth), D3DFloorIndex(v * mHeight));
    }
    uint32_t SampleLinear(double u, double v) const;
    // Texel (x, y) after addressing.
    uint32_t Texel(int64_t x, int64_t y) const
    {
        const int64_t column = Address(x, mWidth, mAddressU);
        const int64_t row = Address(y, mHeight, mAddressV);
        if (column < 0 || row < 0)
            return mBorder;
        const uint8_t* line = mPixels + row * int64_t{mPitch};
        if (mPalettised)
            return mPalette[line[column]];
        return mLayout.Decode(mLayout.Load(line + column * int64_t{mLayout.Bytes()}));
    }
    // The position x * W - 1/2 (or y * H - 1/2) in 1/256 texels, as the linear filter rounds it.
    static int64_t ToFixed(double position, double scale)
    {
        return D3DFloorIndex(position * scale + 0.5);
    }

private:
    // The texel index of one direction, or -1 for the border.
    static int64_t Address(int64_t index, int64_t size, uint32_t mode)
    {
        if (index >= 0 && index < size)
            return index;
        return AddressOutside(index, size, mode);
    }
    static int64_t AddressOutside(int64_t index, int64_t size, uint32_t mode);

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
