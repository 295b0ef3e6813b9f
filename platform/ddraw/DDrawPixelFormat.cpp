#include "platform/ddraw/DDrawPixelFormat.h"

#include "platform/ddraw/DDrawConstants.h"

namespace Platform {
namespace {

DDPIXELFORMAT Rgb(uint32_t bits, uint32_t red, uint32_t green, uint32_t blue, uint32_t alpha = 0)
{
    DDPIXELFORMAT format;
    format.dwSize = sizeof(DDPIXELFORMAT);
    format.dwFlags = DDPF_RGB | (alpha != 0 ? DDPF_ALPHAPIXELS : 0);
    format.dwRGBBitCount = bits;
    format.dwRBitMask = red;
    format.dwGBitMask = green;
    format.dwBBitMask = blue;
    format.dwRGBAlphaBitMask = alpha;
    return format;
}

} // namespace

DDPIXELFORMAT MakePixelFormat(DDrawFormat format)
{
    switch (format) {
    case DDrawFormat::X8R8G8B8: return Rgb(32, 0xFF0000, 0xFF00, 0xFF);
    case DDrawFormat::A8R8G8B8: return Rgb(32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000);
    case DDrawFormat::R5G6B5: return Rgb(16, 0xF800, 0x07E0, 0x001F);
    case DDrawFormat::X1R5G5B5: return Rgb(16, 0x7C00, 0x03E0, 0x001F);
    case DDrawFormat::A4R4G4B4: return Rgb(16, 0x0F00, 0x00F0, 0x000F, 0xF000);
    case DDrawFormat::BGR565: return Rgb(16, 0x001F, 0x07E0, 0xF800);
    case DDrawFormat::R8G8B8: return Rgb(24, 0xFF0000, 0xFF00, 0xFF);
    case DDrawFormat::A1R5G5B5: return Rgb(16, 0x7C00, 0x03E0, 0x001F, 0x8000);
    case DDrawFormat::P8:
    case DDrawFormat::P8Texture: break;
    }
    DDPIXELFORMAT indexed;
    indexed.dwSize = sizeof(DDPIXELFORMAT);
    indexed.dwFlags = DDPF_PALETTEINDEXED8 | (format == DDrawFormat::P8Texture ? DDPF_RGB : 0u);
    indexed.dwRGBBitCount = 8;
    return indexed;
}

std::vector<DDPIXELFORMAT> DefaultTextureFormats()
{
    std::vector<DDPIXELFORMAT> formats;
    for (DDrawFormat format : {DDrawFormat::A8R8G8B8, DDrawFormat::A4R4G4B4, DDrawFormat::R5G6B5,
                               DDrawFormat::P8Texture, DDrawFormat::X1R5G5B5, DDrawFormat::A1R5G5B5})
        formats.push_back(MakePixelFormat(format));
    return formats;
}

uint32_t BytesPerPixel(const DDPIXELFORMAT& format)
{
    return format.dwRGBBitCount % 8 == 0 ? format.dwRGBBitCount / 8 : 0;
}

bool IsCreatablePixelFormat(const DDPIXELFORMAT& format)
{
    if (format.dwFlags & DDPF_PALETTEINDEXED8)
        return format.dwRGBBitCount == 8;
    if ((format.dwFlags & DDPF_RGB) == 0)
        return false;
    const uint32_t bits = format.dwRGBBitCount;
    if (bits != 16 && bits != 24 && bits != 32)
        return false;
    if (format.dwRBitMask == 0 || format.dwGBitMask == 0 || format.dwBBitMask == 0)
        return false;
    const uint64_t limit = (uint64_t{1} << bits) - 1;
    const uint64_t all = uint64_t{format.dwRBitMask} | format.dwGBitMask | format.dwBBitMask |
                         ((format.dwFlags & DDPF_ALPHAPIXELS) ? format.dwRGBAlphaBitMask : 0u);
    return all <= limit;
}

bool SamePixelFormat(const DDPIXELFORMAT& a, const DDPIXELFORMAT& b)
{
    const uint32_t kinds = DDPF_RGB | DDPF_PALETTEINDEXED8 | DDPF_ALPHAPIXELS;
    if ((a.dwFlags & kinds) != (b.dwFlags & kinds) || a.dwRGBBitCount != b.dwRGBBitCount)
        return false;
    if (a.dwFlags & DDPF_PALETTEINDEXED8)
        return true;
    if (a.dwRBitMask != b.dwRBitMask || a.dwGBitMask != b.dwGBitMask || a.dwBBitMask != b.dwBBitMask)
        return false;
    return (a.dwFlags & DDPF_ALPHAPIXELS) == 0 || a.dwRGBAlphaBitMask == b.dwRGBAlphaBitMask;
}

void CopyPixelFormat(DDPIXELFORMAT& to, const DDPIXELFORMAT& from)
{
    to.dwSize = from.dwSize;
    to.dwFlags = from.dwFlags;
    to.dwRGBBitCount = from.dwRGBBitCount;
    to.dwRBitMask = from.dwRBitMask;
    to.dwGBitMask = from.dwGBitMask;
    to.dwBBitMask = from.dwBBitMask;
    to.dwRGBAlphaBitMask = from.dwRGBAlphaBitMask;
}

} // namespace Platform
