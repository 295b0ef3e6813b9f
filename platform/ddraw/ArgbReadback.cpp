#include "platform/ddraw/ArgbReadback.h"

#include "platform/ddraw/DDrawConstants.h"
#include "platform/ddraw/DDrawPixelFormat.h"

#include <bit>
#include <cstring>

namespace Platform {
namespace {

// The row loop once, over the pixel size; 8-8-8 in the usual places is a plain OR.
template <uint32_t Bytes, class Convert>
void ConvertRows(const PresentedSurface& surface, const RECT& from, uint32_t* to, int64_t toStride, Convert convert)
{
    const int64_t count = int64_t{from.right} - from.left;
    for (int64_t y = from.top; y < from.bottom; ++y) {
        const uint8_t* row = surface.pixels + y * surface.pitch + int64_t{from.left} * Bytes;
        uint32_t* out = to + (y - from.top) * toStride;
        for (int64_t x = 0; x < count; ++x) {
            uint32_t v = 0;
            std::memcpy(&v, row + x * Bytes, Bytes);
            out[x] = convert(v);
        }
    }
}

} // namespace

bool ArgbReadback::CanRead(const DDPIXELFORMAT& format)
{
    const uint32_t bytes = BytesPerPixel(format);
    return (format.dwFlags & DDPF_RGB) != 0 && bytes >= 2 && bytes <= 4;
}

ArgbReadback::Channel ArgbReadback::Describe(uint32_t mask)
{
    Channel channel;
    if (mask == 0)
        return channel;
    channel.mask = mask;
    channel.shift = static_cast<uint32_t>(std::countr_zero(mask));
    const uint32_t bits = 32 - static_cast<uint32_t>(std::countl_zero(mask)) - channel.shift;
    channel.up = bits < 8 ? 8 - bits : 0;
    channel.down = bits > 8 ? bits - 8 : 0;
    return channel;
}

ArgbReadback::ArgbReadback(const DDPIXELFORMAT& format)
    : mBytes(BytesPerPixel(format)),
      mIsXrgb8888(format.dwRGBBitCount == 32 && format.dwRBitMask == 0xFF0000 && format.dwGBitMask == 0xFF00 &&
                  format.dwBBitMask == 0xFF),
      mRed(Describe(format.dwRBitMask)),
      mGreen(Describe(format.dwGBitMask)),
      mBlue(Describe(format.dwBBitMask))
{
    if (mIsXrgb8888)
        return;
    for (uint32_t byte = 0; byte < mBytes && byte < mByteWords.size(); ++byte) {
        for (uint32_t value = 0; value < 256; ++value)
            mByteWords[byte][value] = Convert(value << (8 * byte));
    }
}

uint32_t ArgbReadback::Convert(uint32_t pixel) const
{
    const auto channel = [pixel](const Channel& c) {
        return ((((pixel & c.mask) >> c.shift) >> c.down) << c.up) & 0xFF;
    };
    return 0xFF000000u | channel(mRed) << 16 | channel(mGreen) << 8 | channel(mBlue);
}

void ArgbReadback::ConvertRect(const PresentedSurface& surface, const RECT& from, uint32_t* to, int64_t toStride) const
{
    if (from.right <= from.left || from.bottom <= from.top)
        return;
    if (mIsXrgb8888) {
        ConvertRows<4>(surface, from, to, toStride, [](uint32_t v) { return v | 0xFF000000u; });
        return;
    }
    const auto& words = mByteWords;
    switch (mBytes) {
    case 2:
        ConvertRows<2>(surface, from, to, toStride,
                       [&words](uint32_t v) { return words[0][v & 0xFF] | words[1][v >> 8]; });
        break;
    case 3:
        ConvertRows<3>(surface, from, to, toStride, [&words](uint32_t v) {
            return words[0][v & 0xFF] | words[1][(v >> 8) & 0xFF] | words[2][v >> 16];
        });
        break;
    case 4:
        ConvertRows<4>(surface, from, to, toStride, [&words](uint32_t v) {
            return words[0][v & 0xFF] | words[1][(v >> 8) & 0xFF] | words[2][(v >> 16) & 0xFF] | words[3][v >> 24];
        });
        break;
    default: break;
    }
}

} // namespace Platform
