// The texture side of the Direct3D back end: making an image's texture
// pieces current, uploading the picture into them in the chosen format and
// reading it back, and dropping an image's record.
#include "graphics/display/D3DInterface.h"

#include "graphics/display/DDInterface.h"
#include "graphics/display/TextureData.h"
#include "graphics/image/MemoryImage.h"
#include "platform/ddraw/DDrawConstants.h"
#include "util/CritSectLock.h"

#include <algorithm>
#include <cstring>

namespace Tandry {

using namespace Platform;

namespace {

constexpr int kPaletteEntries = 256;

// One texture format: the stored texel of an ARGB word and back.
struct Texel8888 {
    using Texel = uint32_t;
    static Texel Pack(uint32_t c) { return c; }
    static uint32_t Unpack(Texel t) { return t; }
};

struct Texel4444 {
    using Texel = uint16_t;
    static Texel Pack(uint32_t c)
    {
        return static_cast<Texel>(((c >> 28) << 12) | (((c >> 20) & 15u) << 8) | (((c >> 12) & 15u) << 4)
                                  | ((c >> 4) & 15u));
    }
    static uint32_t Unpack(Texel t)
    {
        return (uint32_t{t} >> 12) << 28 | ((uint32_t{t} >> 8) & 15u) << 20 | ((uint32_t{t} >> 4) & 15u) << 12
               | (uint32_t{t} & 15u) << 4;
    }
};

struct Texel565 {
    using Texel = uint16_t;
    static Texel Pack(uint32_t c)
    {
        return static_cast<Texel>((((c >> 16) & 255u) >> 3) << 11 | (((c >> 8) & 255u) >> 2) << 5 | ((c & 255u) >> 3));
    }
    static uint32_t Unpack(Texel t)
    {
        return 0xFF000000u | (uint32_t{t} >> 11) << 19 | ((uint32_t{t} >> 5) & 63u) << 10 | (uint32_t{t} & 31u) << 3;
    }
};

// Where an upload reads the picture: the pixel array, or the palette's
// indices through its colour table.
struct PictureSource {
    const uint32_t* bits = nullptr;
    const uint8_t* indices = nullptr;
    const uint32_t* table = nullptr;
    size_t stride = 0;
};

// Fills the texture's first rows x columns texels from convert(row, texels),
// then repeats the last column and the last row into a spare one, so that
// filtering at the picture's edge never reads what nobody wrote.
template <class Texel, class Convert>
void FillTexture(uint8_t* base, size_t pitch, int pieceWidth, int pieceHeight, int columns, int rows, Convert convert)
{
    for (int row = 0; row < rows; ++row) {
        auto* texels = reinterpret_cast<Texel*>(base + static_cast<size_t>(row) * pitch);
        convert(row, texels);
        if (columns < pieceWidth)
            texels[columns] = texels[columns - 1];
    }
    if (rows < pieceHeight)
        std::memcpy(base + static_cast<size_t>(rows) * pitch, base + static_cast<size_t>(rows - 1) * pitch, pitch);
}

template <class Format>
void UploadRows(uint8_t* base, size_t pitch, int pieceWidth, int pieceHeight, int columns, int rows,
                const PictureSource& source, size_t first)
{
    using Texel = typename Format::Texel;
    FillTexture<Texel>(base, pitch, pieceWidth, pieceHeight, columns, rows, [&](int row, Texel* out) {
        const size_t start = first + static_cast<size_t>(row) * source.stride;
        if (source.table != nullptr) {
            const uint8_t* indices = source.indices + start;
            for (int i = 0; i < columns; ++i)
                out[i] = Format::Pack(source.table[indices[i]]);
        } else if constexpr (sizeof(Texel) == sizeof(uint32_t)) {
            std::memcpy(out, source.bits + start, static_cast<size_t>(columns) * sizeof(uint32_t));
        } else {
            const uint32_t* bits = source.bits + start;
            for (int i = 0; i < columns; ++i)
                out[i] = Format::Pack(bits[i]);
        }
    });
}

template <class Format>
void ReadRows(const uint8_t* base, size_t pitch, int columns, int rows, uint32_t* out, size_t stride)
{
    using Texel = typename Format::Texel;
    for (int row = 0; row < rows; ++row) {
        const auto* texels = reinterpret_cast<const Texel*>(base + static_cast<size_t>(row) * pitch);
        uint32_t* line = out + static_cast<size_t>(row) * stride;
        for (int i = 0; i < columns; ++i)
            line[i] = Format::Unpack(texels[i]);
    }
}

// The lock's own size bounds the rows and columns touched.
bool LockTexture(IDirectDrawSurface7* texture, uint32_t flags, DDSURFACEDESC2& desc)
{
    desc = DDSURFACEDESC2();
    desc.dwSize = sizeof(desc);
    if (CheckD3DError("Lock Texture", texture->Lock(nullptr, &desc, flags, nullptr)))
        return false;
    return desc.lpSurface != nullptr;
}

} // namespace

void UploadTexturePiece(IDirectDrawSurface7* texture, MemoryImage* image, int x, int y, int pieceWidth, int pieceHeight,
                        int format)
{
    DDSURFACEDESC2 desc;
    if (!LockTexture(texture, DDLOCK_WAIT | DDLOCK_WRITEONLY, desc))
        return;
    pieceWidth = std::min(pieceWidth, static_cast<int>(desc.dwWidth));
    pieceHeight = std::min(pieceHeight, static_cast<int>(desc.dwHeight));
    const int columns = std::min(pieceWidth, image->mWidth - x);
    const int rows = std::min(pieceHeight, image->mHeight - y);
    PictureSource source;
    source.stride = static_cast<size_t>(image->mWidth);
    if (image->mColorTable && image->mColorIndices) {
        source.indices = image->mColorIndices.get();
        if (format != kTexturePalette8)
            source.table = image->mColorTable.get();
    } else {
        source.bits = image->GetBits();
    }
    const bool readable = source.bits != nullptr || source.indices != nullptr;
    if (columns > 0 && rows > 0 && readable) {
        auto* base = static_cast<uint8_t*>(desc.lpSurface);
        const auto pitch = static_cast<size_t>(desc.lPitch);
        const size_t first = static_cast<size_t>(y) * source.stride + static_cast<size_t>(x);
        switch (format) {
        case kTextureA8R8G8B8:
            UploadRows<Texel8888>(base, pitch, pieceWidth, pieceHeight, columns, rows, source, first);
            break;
        case kTextureA4R4G4B4:
            UploadRows<Texel4444>(base, pitch, pieceWidth, pieceHeight, columns, rows, source, first);
            break;
        case kTextureR5G6B5:
            UploadRows<Texel565>(base, pitch, pieceWidth, pieceHeight, columns, rows, source, first);
            break;
        case kTexturePalette8:
            if (source.indices != nullptr) {
                FillTexture<uint8_t>(base, pitch, pieceWidth, pieceHeight, columns, rows, [&](int row, uint8_t* out) {
                    std::memcpy(out, source.indices + first + static_cast<size_t>(row) * source.stride,
                                static_cast<size_t>(columns));
                });
            }
            break;
        default:
            break;
        }
    }
    CheckD3DError("Texture Unlock", texture->Unlock(nullptr));
}

IDirectDrawSurface7* D3DInterface::CreateTextureSurface(int width, int height, int format)
{
    if (CheckD3DError("SetTexture NULL", mDevice->SetTexture(0, nullptr)))
        return nullptr;
    DDSURFACEDESC2 desc;
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PIXELFORMAT;
    desc.ddsCaps.dwCaps = DDSCAPS_TEXTURE;
    desc.ddsCaps.dwCaps2 = DDSCAPS2_D3DTEXTUREMANAGE;
    desc.dwWidth = static_cast<uint32_t>(width);
    desc.dwHeight = static_cast<uint32_t>(height);
    desc.ddpfPixelFormat = MakeTexturePixelFormat(format);
    IDirectDrawSurface7* texture = nullptr;
    if (mDD7->CreateSurface(&desc, &texture, nullptr) < 0)
        return nullptr;
    return texture;
}

bool D3DInterface::PrepareTextures(MemoryImage* image)
{
    // An image without a host cannot say when it dies, so it keeps no textures.
    if (mDevice == nullptr || image == nullptr || image->mApp == nullptr)
        return false;
    bool discard = false;
    if (image->mTextureData == nullptr) {
        image->mTextureData = new TextureData();
        discard = image->mWantDiscard;
        CritSectLock lock(mDisplay->mCritSect);
        mTextureImages.insert(image);
    }
    TextureData* data = image->mTextureData;
    if (data->mFormat == 0 || data->mWidth != image->mWidth || data->mHeight != image->mHeight
        || data->mBitsChangedCount != image->mChangeCount || data->mFlags != image->mTextureFlags)
        UpdateTextures(data, image);
    if (discard)
        image->DiscardBits();
    return data->mFormat != 0;
}

void D3DInterface::UpdateTextures(TextureData* data, MemoryImage* image)
{
    image->FreeSoftwareCaches();
    image->ScanAlpha();
    const int flags = image->mTextureFlags;

    int format = kTextureA8R8G8B8;
    if (!image->mHasAlpha && !image->mHasTrans && (gTextureFormats & kTextureR5G6B5) != 0
        && (flags & kTextureFlagNo565) == 0)
        format = kTextureR5G6B5;
    IDirectDrawPalette* palette = nullptr;
    if (image->mColorTable && image->mColorIndices && (gTextureFormats & kTexturePalette8) != 0) {
        PALETTEENTRY entries[kPaletteEntries];
        for (int i = 0; i < kPaletteEntries; ++i) {
            const uint32_t c = image->mColorTable[static_cast<size_t>(i)];
            entries[i] = PALETTEENTRY{static_cast<uint8_t>(c >> 16), static_cast<uint8_t>(c >> 8),
                                      static_cast<uint8_t>(c), static_cast<uint8_t>(c >> 24)};
        }
        if (mDD7->CreatePalette(DDPCAPS_8BIT | DDPCAPS_ALLOW256 | DDPCAPS_ALPHA, entries, &palette, nullptr) >= 0
            && palette != nullptr) {
            format = kTexturePalette8;
        } else {
            palette = nullptr;
            gTextureFormats &= ~kTexturePalette8;
        }
    }
    if ((flags & kTextureFlagPrefer4444) != 0 && format == kTextureA8R8G8B8
        && (gTextureFormats & kTextureA4R4G4B4) != 0)
        format = kTextureA4R4G4B4;
    if (format == kTextureA8R8G8B8 && (gTextureFormats & kTextureA8R8G8B8) == 0)
        format = kTextureA4R4G4B4;

    const bool reuse = data->mWidth == image->mWidth && data->mHeight == image->mHeight && data->mFormat == format
                       && data->mFlags == flags;
    if (!reuse) {
        data->ReleaseTextures();
        data->mFormat = format;
        data->mFlags = flags;
        LayoutTexturePieces(image, data);
    }
    // Every piece takes the new palette below, so the former one is no longer
    // used; the record holds one palette whatever the number of updates.
    if (data->mPalette != nullptr)
        data->mPalette->Release();
    data->mPalette = palette;
    if (palette != nullptr && !reuse)
        data->mTexMemSize += 1024;

    const int bytes = TextureBytesPerPixel(format);
    for (int row = 0; row < data->mRows; ++row) {
        for (int column = 0; column < data->mColumns; ++column) {
            TexturePiece& piece = data->mPieces[static_cast<size_t>(row * data->mColumns + column)];
            if (!reuse) {
                piece.texture = CreateTextureSurface(piece.width, piece.height, format);
                if (piece.texture == nullptr) {
                    data->mFormat = 0;
                    return;
                }
                data->mTexMemSize += piece.width * bytes * piece.height;
            }
            if (palette != nullptr)
                piece.texture->SetPalette(palette);
            UploadTexturePiece(piece.texture, image, column * data->mPieceWidth, row * data->mPieceHeight, piece.width,
                               piece.height, format);
        }
    }
    data->mWidth = image->mWidth;
    data->mHeight = image->mHeight;
    data->mBitsChangedCount = image->mChangeCount;
    data->mFormat = format;
}

bool D3DInterface::ReadTexturesBack(const MemoryImage* image, uint32_t* bits)
{
    const TextureData* data = image->mTextureData;
    if (data == nullptr || data->mBitsChangedCount != image->mChangeCount)
        return false;
    // A record not built, or built for another size, holds no picture of this
    // one.
    if (data->mFormat == 0 || data->mWidth != image->mWidth || data->mHeight != image->mHeight
        || data->mPieces.size() != static_cast<size_t>(data->mColumns) * static_cast<size_t>(data->mRows))
        return false;
    uint32_t palette[kPaletteEntries] = {};
    if (data->mFormat == kTexturePalette8) {
        PALETTEENTRY entries[kPaletteEntries];
        if (data->mPalette == nullptr || data->mPalette->GetEntries(0, 0, kPaletteEntries, entries) < 0)
            return false;
        for (int i = 0; i < kPaletteEntries; ++i) {
            palette[i] = uint32_t{entries[i].peFlags} << 24 | uint32_t{entries[i].peRed} << 16
                         | uint32_t{entries[i].peGreen} << 8 | entries[i].peBlue;
        }
    }
    const auto stride = static_cast<size_t>(image->mWidth);
    for (int row = 0; row < data->mRows; ++row) {
        for (int column = 0; column < data->mColumns; ++column) {
            const TexturePiece& piece = data->mPieces[static_cast<size_t>(row * data->mColumns + column)];
            const int x = column * data->mPieceWidth;
            const int y = row * data->mPieceHeight;
            DDSURFACEDESC2 desc;
            if (piece.texture == nullptr || !LockTexture(piece.texture, DDLOCK_WAIT | DDLOCK_READONLY, desc))
                return false;
            const int columns = std::min({piece.width, static_cast<int>(desc.dwWidth), image->mWidth - x});
            const int rows = std::min({piece.height, static_cast<int>(desc.dwHeight), image->mHeight - y});
            const auto* base = static_cast<const uint8_t*>(desc.lpSurface);
            const auto pitch = static_cast<size_t>(desc.lPitch);
            uint32_t* out = bits + static_cast<size_t>(y) * stride + static_cast<size_t>(x);
            switch (data->mFormat) {
            case kTextureA8R8G8B8:
                ReadRows<Texel8888>(base, pitch, columns, rows, out, stride);
                break;
            case kTextureA4R4G4B4:
                ReadRows<Texel4444>(base, pitch, columns, rows, out, stride);
                break;
            case kTextureR5G6B5:
                ReadRows<Texel565>(base, pitch, columns, rows, out, stride);
                break;
            default:
                for (int r = 0; r < rows; ++r) {
                    const uint8_t* indices = base + static_cast<size_t>(r) * pitch;
                    for (int i = 0; i < columns; ++i)
                        out[static_cast<size_t>(r) * stride + static_cast<size_t>(i)] = palette[indices[i]];
                }
                break;
            }
            CheckD3DError("Texture Unlock", piece.texture->Unlock(nullptr));
        }
    }
    return true;
}

void D3DInterface::RemoveImage(MemoryImage* image)
{
    if (image->mTextureData != nullptr) {
        delete image->mTextureData;
        image->mTextureData = nullptr;
    }
    if (mDisplay != nullptr) {
        CritSectLock lock(mDisplay->mCritSect);
        mTextureImages.erase(image);
    }
}

} // namespace Tandry
