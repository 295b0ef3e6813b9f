#include "graphics/display/TextureData.h"

#include "graphics/display/D3DInterface.h"
#include "graphics/image/MemoryImage.h"
#include "platform/d3d/D3DConstants.h"
#include "platform/ddraw/DDrawConstants.h"

#include <algorithm>
#include <cstdint>

namespace Tandry {

using namespace Platform;

namespace {

struct FormatEntry {
    int code;
    uint32_t flags;
    uint32_t bits;
    uint32_t alpha;
    uint32_t red;
    uint32_t green;
    uint32_t blue;
};

constexpr FormatEntry kFormats[] = {
    {kTextureA8R8G8B8, DDPF_RGB | DDPF_ALPHAPIXELS, 32, 0xFF000000u, 0x00FF0000u, 0x0000FF00u, 0x000000FFu},
    {kTextureA4R4G4B4, DDPF_RGB | DDPF_ALPHAPIXELS, 16, 0xF000u, 0x0F00u, 0x00F0u, 0x000Fu},
    {kTextureR5G6B5, DDPF_RGB, 16, 0, 0xF800u, 0x07E0u, 0x001Fu},
    {kTexturePalette8, DDPF_RGB | DDPF_PALETTEINDEXED8, 8, 0, 0, 0, 0},
};

// The smallest power of two >= size (1 for size <= 1), or limit when that
// reaches it: a device whose limit is no power of two gets no texture above it.
int64_t FitSize(int64_t size, int64_t limit)
{
    if (size >= limit)
        return limit;
    int64_t fit = 1;
    while (fit < size)
        fit *= 2;
    return std::min(fit, limit);
}

} // namespace

void TextureData::ReleaseTextures()
{
    for (TexturePiece& piece : mPieces) {
        if (piece.texture != nullptr)
            piece.texture->Release();
    }
    mPieces.clear();
    mTexMemSize = 0;
    if (mPalette != nullptr)
        mPalette->Release();
    mPalette = nullptr;
}

int ClassifyTextureFormat(const DDPIXELFORMAT& format)
{
    for (const FormatEntry& entry : kFormats) {
        if (format.dwFlags != entry.flags || format.dwRGBBitCount != entry.bits)
            continue;
        if (entry.code == kTexturePalette8)
            return entry.code;
        if (format.dwRGBAlphaBitMask == entry.alpha && format.dwRBitMask == entry.red
            && format.dwGBitMask == entry.green && format.dwBBitMask == entry.blue)
            return entry.code;
    }
    return 0;
}

DDPIXELFORMAT MakeTexturePixelFormat(int format)
{
    DDPIXELFORMAT result;
    result.dwSize = sizeof(DDPIXELFORMAT);
    for (const FormatEntry& entry : kFormats) {
        if (entry.code != format)
            continue;
        result.dwFlags = entry.flags;
        result.dwRGBBitCount = entry.bits;
        result.dwRGBAlphaBitMask = entry.alpha;
        result.dwRBitMask = entry.red;
        result.dwGBitMask = entry.green;
        result.dwBBitMask = entry.blue;
    }
    return result;
}

int TextureBytesPerPixel(int format)
{
    switch (format) {
    case kTextureA8R8G8B8:
        return 4;
    case kTextureA4R4G4B4:
    case kTextureR5G6B5:
        return 2;
    case kTexturePalette8:
        return 1;
    default:
        return 0;
    }
}

HRESULT EnumTextureFormatCallback(DDPIXELFORMAT* format, void*)
{
    if (format != nullptr)
        gTextureFormats |= ClassifyTextureFormat(*format);
    return D3DENUMRET_OK;
}

HRESULT EnumTextureFormatIntoMask(DDPIXELFORMAT* format, void* context)
{
    if (format != nullptr && context != nullptr)
        *static_cast<int*>(context) |= ClassifyTextureFormat(*format);
    return D3DENUMRET_OK;
}

void ChooseTextureSize(int* width, int* height, int flags)
{
    if (flags & kTextureFlagPieces64) {
        *width = 64;
        *height = 64;
        return;
    }
    // The device set-up keeps every limit at least 1; so does this, for limits
    // set elsewhere.
    int64_t w = std::max<int64_t>({FitSize(*width, gMaxTextureWidth), gMinTextureWidth, 1});
    int64_t h = std::max<int64_t>({FitSize(*height, gMaxTextureHeight), gMinTextureHeight, 1});
    const int64_t aspect = std::max(gMaxTextureAspect, 1);
    if (h < w) {
        while (w > aspect * h)
            h *= 2;
    } else if (w < h) {
        while (h > aspect * w)
            w *= 2;
    }
    *width = static_cast<int>(w);
    *height = static_cast<int>(h);
}

void LayoutTexturePieces(const MemoryImage* image, TextureData* data)
{
    const int width = std::max(image->mWidth, 0);
    const int height = std::max(image->mHeight, 0);
    const int flags = image->mTextureFlags;

    int pw = width;
    int ph = height;
    ChooseTextureSize(&pw, &ph, flags);
    int rw = pw;
    int rh = ph;
    if (width % pw > 0) {
        rw = width % pw;
        ChooseTextureSize(&rw, &rh, flags);
    }
    int bw = pw;
    int bh = ph;
    if (height % ph > 0) {
        bh = height % ph;
        ChooseTextureSize(&bw, &bh, flags);
    }
    int cw = rw;
    int ch = bh;
    ChooseTextureSize(&cw, &ch, flags);
    // A device whose aspect limit asks for more than its maximum size can make
    // the last column or row lower or narrower than the part of the image it
    // holds; no piece is.
    rh = std::max(rh, ph);
    bw = std::max(bw, pw);
    cw = std::max(cw, rw);
    ch = std::max(ch, bh);

    data->mPieceWidth = pw;
    data->mPieceHeight = ph;
    data->mColumns = (width + pw - 1) / pw;
    data->mRows = (height + ph - 1) / ph;
    data->mPieces.assign(static_cast<size_t>(data->mColumns) * static_cast<size_t>(data->mRows),
                         TexturePiece{nullptr, pw, ph});
    for (int row = 0; row < data->mRows; ++row) {
        for (int column = 0; column < data->mColumns; ++column) {
            TexturePiece& piece = data->mPieces[static_cast<size_t>(row * data->mColumns + column)];
            if (column == data->mColumns - 1)
                piece = TexturePiece{nullptr, rw, rh};
            if (row == data->mRows - 1)
                piece = TexturePiece{nullptr, bw, bh};
            if (column == data->mColumns - 1 && row == data->mRows - 1)
                piece = TexturePiece{nullptr, cw, ch};
        }
    }
    data->mMaxU = static_cast<float>(width) / static_cast<float>(pw);
    data->mMaxV = static_cast<float>(height) / static_cast<float>(ph);
}

} // namespace Tandry
