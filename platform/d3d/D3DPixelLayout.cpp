#include "platform/d3d/D3DPixelLayout.h"

#include "platform/ddraw/DDrawConstants.h"

#include <bit>

namespace Platform {
namespace {

D3DChannel ChannelOf(uint32_t mask)
{
    D3DChannel channel;
    if (mask == 0)
        return channel;
    channel.mask = mask;
    channel.shift = static_cast<uint32_t>(std::countr_zero(mask));
    channel.bits = 32u - static_cast<uint32_t>(std::countl_zero(mask)) - channel.shift;
    if (channel.bits <= 8)
        for (uint32_t value = 0; value < (1u << channel.bits); ++value)
            channel.widened[value] = static_cast<uint8_t>(WidenChannel(value, channel.bits));
    return channel;
}

uint32_t Read(const D3DChannel& channel, uint32_t raw)
{
    const uint32_t field = (raw & channel.mask) >> channel.shift;
    return channel.bits <= 8 ? channel.widened[field] : WidenChannel(field, channel.bits);
}

uint32_t Write(const D3DChannel& channel, uint32_t value)
{
    if (channel.mask == 0)
        return 0;
    return (NarrowChannel(value, channel.bits) << channel.shift) & channel.mask;
}

} // namespace

uint32_t WidenChannel(uint32_t value, uint32_t bits)
{
    if (bits == 0)
        return 0;
    if (bits >= 8)
        return (value >> (bits - 8)) & 0xFF;
    uint32_t wide = value << (8 - bits);
    for (uint32_t filled = bits; filled < 8; filled *= 2)
        wide |= wide >> filled;
    return wide & 0xFF;
}

uint32_t NarrowChannel(uint32_t value, uint32_t bits)
{
    if (bits <= 8)
        return value >> (8 - bits);
    uint64_t wide = 0;
    uint32_t filled = 0;
    while (filled < bits) {
        wide = (wide << 8) | value;
        filled += 8;
    }
    return static_cast<uint32_t>(wide >> (filled - bits));
}

D3DPixelLayout D3DPixelLayout::FromFormat(const DDPIXELFORMAT& format)
{
    D3DPixelLayout layout;
    layout.mBytes = format.dwRGBBitCount / 8;
    layout.mRed = ChannelOf(format.dwRBitMask);
    layout.mGreen = ChannelOf(format.dwGBitMask);
    layout.mBlue = ChannelOf(format.dwBBitMask);
    if (format.dwFlags & DDPF_ALPHAPIXELS)
        layout.mAlpha = ChannelOf(format.dwRGBAlphaBitMask);
    layout.mArgb8888 = layout.mBytes == 4 && format.dwRBitMask == 0xFF0000 && format.dwGBitMask == 0xFF00 &&
                       format.dwBBitMask == 0xFF && (layout.mAlpha.mask == 0 || layout.mAlpha.mask == 0xFF000000u);
    layout.mRgb565 = layout.mBytes == 2 && format.dwRBitMask == 0xF800 && format.dwGBitMask == 0x7E0 &&
                     format.dwBBitMask == 0x1F && layout.mAlpha.mask == 0;
    return layout;
}

uint32_t D3DPixelLayout::Decode(uint32_t raw) const
{
    if (mArgb8888)
        return mAlpha.mask != 0 ? raw : (raw | 0xFF000000u);
    const uint32_t alpha = mAlpha.mask != 0 ? Read(mAlpha, raw) : 0xFF;
    return (alpha << 24) | (Read(mRed, raw) << 16) | (Read(mGreen, raw) << 8) | Read(mBlue, raw);
}

uint32_t D3DPixelLayout::Encode(uint32_t argb, bool withAlpha) const
{
    uint32_t raw = Write(mRed, (argb >> 16) & 0xFF) | Write(mGreen, (argb >> 8) & 0xFF) | Write(mBlue, argb & 0xFF);
    if (withAlpha)
        raw |= Write(mAlpha, argb >> 24);
    return raw;
}

} // namespace Platform
