// An image as Direct3D textures: the record of its texture pieces, their
// format and the image state they were built for, the texture format codes,
// and the rules that choose a texture size and cut an image into
// power-of-two pieces within the device's limits. D3DInterface owns one
// record per image drawn in 3D; the capability test reads the format codes.
#pragma once

#include "platform/ddraw/DDrawInterfaces.h"

#include <cstdint>
#include <vector>

namespace Tandry {

class MemoryImage;

// Texture format codes: each a bit of gTextureFormats and a value of
// TextureData::mFormat.
inline constexpr int kTextureA8R8G8B8 = 1;
inline constexpr int kTextureA4R4G4B4 = 2;
inline constexpr int kTextureR5G6B5 = 4;
inline constexpr int kTexturePalette8 = 8;

// Texture flags of an image (MemoryImage::mTextureFlags) that this layer reads.
inline constexpr int kTextureFlagPieces64 = 2;   // pieces of exactly 64 x 64
inline constexpr int kTextureFlagPrefer4444 = 4; // A4R4G4B4 for images with alpha
inline constexpr int kTextureFlagNo565 = 8;      // never R5G6B5

struct TexturePiece {
    Platform::IDirectDrawSurface7* texture = nullptr;
    int width = 0;
    int height = 0;
};

struct TextureData {
    TextureData() = default;
    TextureData(const TextureData&) = delete;
    TextureData& operator=(const TextureData&) = delete;
    ~TextureData() { ReleaseTextures(); }

    // Releases every piece and the palette; the layout goes with them.
    void ReleaseTextures();

    // Row-major: index = row * mColumns + column.
    std::vector<TexturePiece> mPieces;
    // Shared by the pieces of a Palette8 set.
    Platform::IDirectDrawPalette* mPalette = nullptr;
    int mWidth = 0;
    int mHeight = 0;
    int mColumns = 0;
    int mRows = 0;
    // The size of every piece but those of the last column and the last row.
    int mPieceWidth = 64;
    int mPieceHeight = 64;
    // The image's change counter at the last upload.
    int mBitsChangedCount = 0;
    // Bytes of texture memory: the pieces, and 1024 for a palette.
    int mTexMemSize = 0;
    // Image width / mPieceWidth and height / mPieceHeight: 1 or less for one
    // piece.
    float mMaxU = 0.0f;
    float mMaxV = 0.0f;
    // 0: not usable.
    int mFormat = 0;
    // The image's texture flags the pieces were built for.
    int mFlags = 0;
};

// The code of a device pixel format that matches one exactly; 0 for any other.
int ClassifyTextureFormat(const Platform::DDPIXELFORMAT& format);
Platform::DDPIXELFORMAT MakeTexturePixelFormat(int format);
int TextureBytesPerPixel(int format);
// The format enumeration: into gTextureFormats, and into the int context points
// to.
Platform::HRESULT EnumTextureFormatCallback(Platform::DDPIXELFORMAT* format, void* context);
Platform::HRESULT EnumTextureFormatIntoMask(Platform::DDPIXELFORMAT* format, void* context);

// The texture size for width x height under the device's limits and the flags.
void ChooseTextureSize(int* width, int* height, int flags);
// Cuts the image into pieces, without textures yet.
void LayoutTexturePieces(const MemoryImage* image, TextureData* data);

} // namespace Tandry
