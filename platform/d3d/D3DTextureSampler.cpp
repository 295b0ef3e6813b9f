#include "platform/d3d/D3DTextureSampler.h"

#include "platform/d3d/D3DConstants.h"

#include <algorithm>

namespace Platform {
namespace {

// Texture coordinates beyond this many texels (or 1/256 texels in fixed point)
// are held at it: far past any texture size, and far from overflow.
constexpr double kCoordinateLimit = double(int64_t{1} << 40);

} // namespace

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

int64_t D3DTextureSampler::ToFixed(double position, double scale)
{
    const double scaled = std::floor(position * scale + 0.5);
    if (!(scaled == scaled))
        return 0;
    return static_cast<int64_t>(std::clamp(scaled, -kCoordinateLimit, kCoordinateLimit));
}

int64_t D3DTextureSampler::Address(int64_t index, int64_t size, uint32_t mode)
{
    if (index >= 0 && index < size)
        return index;
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

uint32_t D3DTextureSampler::Texel(int64_t x, int64_t y) const
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

uint32_t D3DTextureSampler::SamplePoint(double u, double v) const
{
    // floor(u * W) through 1/256 texels would round; the texel index is the floor itself.
    const double x = std::floor(u * mWidth);
    const double y = std::floor(v * mHeight);
    const auto index = [](double value) -> int64_t {
        if (!(value == value))
            return 0;
        return static_cast<int64_t>(std::clamp(value, -kCoordinateLimit, kCoordinateLimit));
    };
    return Texel(index(x), index(y));
}

uint32_t D3DTextureSampler::SampleLinear(double u, double v) const
{
    const int64_t fx = ToFixed(u * mWidth - 0.5, 256.0);
    const int64_t fy = ToFixed(v * mHeight - 0.5, 256.0);
    const int64_t x = fx >> 8;
    const int64_t y = fy >> 8;
    const uint32_t wx = static_cast<uint32_t>(fx & 255);
    const uint32_t wy = static_cast<uint32_t>(fy & 255);
    const uint32_t texels[4] = {Texel(x, y), Texel(x + 1, y), Texel(x, y + 1), Texel(x + 1, y + 1)};
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

} // namespace Platform
