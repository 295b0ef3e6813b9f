#include "platform/d3d/D3DTextureSampler.h"

namespace Platform {

D3DTextureSampler::D3DTextureSampler(const uint8_t* pixels, int32_t pitch, uint32_t width, uint32_t height,
                                     const D3DPixelLayout& layout)
    : mPixels(pixels), mPitch(pitch), mWidth(width), mHeight(height), mLayout(layout), mPalettised(false)
{
}

D3DTextureSampler::D3DTextureSampler(const uint8_t* pixels, int32_t pitch, uint32_t width, uint32_t height,
                                     const std::array<uint32_t, 256>& palette)
    : mPixels(pixels), mPitch(pitch), mWidth(width), mHeight(height), mPalettised(true), mPalette(palette)
{
}

void D3DTextureSampler::SetAddressing(uint32_t addressU, uint32_t addressV, uint32_t border)
{
    mAddressU = addressU;
    mAddressV = addressV;
    mBorder = border;
}

void D3DTextureSampler::SetFilters(bool linearMagnify, bool linearMinify)
{
    mLinearMagnify = linearMagnify;
    mLinearMinify = linearMinify;
    mLinear = linearMagnify;
}

int64_t D3DTextureSampler::AddressOutside(int64_t index, int64_t size, uint32_t mode)
{
    switch (mode) {
    case D3DTADDRESS_MIRROR: {
        const int64_t period = index % (2 * size);
        const int64_t inPeriod = period < 0 ? period + 2 * size : period;
        return inPeriod < size ? inPeriod : 2 * size - 1 - inPeriod;
    }
    case D3DTADDRESS_CLAMP: return std::clamp<int64_t>(index, 0, size - 1);
    case D3DTADDRESS_BORDER: return -1;
    default: {
        const int64_t wrapped = index % size;
        return wrapped < 0 ? wrapped + size : wrapped;
    }
    }
}

uint32_t D3DTextureSampler::SampleLinear(double u, double v) const
{
    const int64_t fx = ToFixed(u * mWidth - 0.5, 256.0);
    const int64_t fy = ToFixed(v * mHeight - 0.5, 256.0);
    const int64_t x = fx >> 8;
    const int64_t y = fy >> 8;
    const uint32_t texels[4] = {Texel(x, y), Texel(x + 1, y), Texel(x, y + 1), Texel(x + 1, y + 1)};
    return D3DBilinear(texels, static_cast<uint32_t>(fx & 255), static_cast<uint32_t>(fy & 255));
}

} // namespace Platform
