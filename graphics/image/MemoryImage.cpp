#include "graphics/image/MemoryImage.h"

#include <algorithm>
#include <cstring>

#include "graphics/display/DisplayFormatConverter.h"
#include "graphics/display/NativeDisplay.h"
#include "graphics/image/ImageArray.h"
#include "graphics/image/ImageHost.h"
#include "graphics/image/Palettizer.h"
#include "graphics/image/RunLengthCoder.h"

namespace Tandry {

namespace {

constexpr size_t kPaletteSize = 256;

// Transparent 1, opaque 2, partial 0; written without branches so that
// classifying a row vectorises.
int AlphaClass(uint32_t argb)
{
    const uint32_t alpha = argb >> 24;
    return static_cast<int>(alpha == 0) | static_cast<int>(alpha == 255) << 1;
}

int AdditiveClass(uint32_t displayWord)
{
    return (displayWord & 0xFFFFFF) != 0 ? 1 : 0;
}

} // namespace

MemoryImage::MemoryImage() : MemoryImage(GetImageHost()) {}

MemoryImage::MemoryImage(ImageHost* app) : mApp(app)
{
    Init();
}

void MemoryImage::Init()
{
    if (mApp) {
        CritSectLock lock(mApp->GetDisplayLock());
        mApp->AddMemoryImage(this);
    }
}

MemoryImage::MemoryImage(const MemoryImage& other)
    : Image(other), mChangeCount(other.mChangeCount), mTextureFlags(other.mTextureFlags), mForced(other.mForced),
      mHasTrans(other.mHasTrans), mHasAlpha(other.mHasAlpha), mVolatile(other.mVolatile),
      mWantDiscard(other.mWantDiscard), mWantPalette(other.mWantPalette), mAlphaDirty(other.mAlphaDirty),
      mApp(other.mApp)
{
    const size_t pixels = other.PixelCount();
    if (other.mBits) {
        mBits = CopyImageArray(other.mBits.get(), pixels + 1);
    } else if (!other.IsPalettized()) {
        // The picture lives only in the display-format data or the textures:
        // the other image rebuilds its pixels for the copy and drops them
        // again, keeping the forms it had. GetBits is what a derived image
        // overrides to read its own store, so it is called, not bypassed.
        MemoryImage& source = const_cast<MemoryImage&>(other);
        mBits = CopyImageArray(source.GetBits(), pixels + 1);
        source.mBits.reset();
    }
    if (other.IsPalettized()) {
        mColorTable = CopyImageArray(other.mColorTable.get(), kPaletteSize);
        mColorIndices = CopyImageArray(other.mColorIndices.get(), pixels);
    }
    if (other.mNativeAlpha)
        mNativeAlpha = CopyImageArray(other.mNativeAlpha.get(), other.IsPalettized() ? kPaletteSize : pixels);
    if (other.mRLAlpha)
        mRLAlpha = CopyImageArray(other.mRLAlpha.get(), pixels);
    if (other.mRLAdditive)
        mRLAdditive = CopyImageArray(other.mRLAdditive.get(), pixels);
    Init();
}

MemoryImage::~MemoryImage()
{
    if (mApp) {
        CritSectLock lock(mApp->GetDisplayLock());
        mApp->RemoveMemoryImage(this);
        mApp->FreeImageTextures(this);
    }
}

size_t MemoryImage::PixelCount() const
{
    return CheckedImageArrayCount(mWidth, mHeight, sizeof(uint32_t), 1) - 1;
}

const NativeDisplay& MemoryImage::HostDisplayFormat() const
{
    // Without a host, the format the application converts with before a
    // real display exists.
    return mApp ? mApp->GetDisplayFormat() : NativeDisplay::Argb8888();
}

bool MemoryImage::HostIs3D() const
{
    return mApp && mApp->IsDisplay3D();
}

uint32_t MemoryImage::GetPixel(int x, int y)
{
    if (x < 0 || y < 0 || x >= mWidth || y >= mHeight)
        return 0;
    // A surface image whose pixels cannot be read has none to give.
    const uint32_t* bits = GetBits();
    if (bits == nullptr)
        return 0;
    return bits[static_cast<size_t>(y) * static_cast<size_t>(mWidth) + static_cast<size_t>(x)];
}

void MemoryImage::FreePalettizedForm()
{
    if (IsPalettized())
        mNativeAlpha.reset();
    mColorIndices.reset();
    mColorTable.reset();
}

void MemoryImage::SetBits(const uint32_t* bits, int width, int height, bool commit)
{
    if (bits != nullptr && bits == mBits.get())
        return;
    const size_t words = CheckedImageArrayCount(width, height, sizeof(uint32_t), 1);
    const size_t pixels = words - 1;
    // The caller may pass a part of the image's own pixels or palette, so the
    // old arrays are freed only once the copy is made.
    if (width != mWidth || height != mHeight || !mBits) {
        auto fresh = std::make_unique_for_overwrite<uint32_t[]>(words);
        if (pixels != 0)
            std::memcpy(fresh.get(), bits, pixels * sizeof(uint32_t));
        mBits = std::move(fresh);
        mWidth = width;
        mHeight = height;
    } else if (pixels != 0) {
        std::memmove(mBits.get(), bits, pixels * sizeof(uint32_t));
    }
    mBits[pixels] = kBitsMarker;
    FreePalettizedForm();
    MarkBitsChanged();
    if (commit)
        ScanAlpha();
}

void MemoryImage::Create(int width, int height)
{
    if (width < 0 || height < 0)
        throw std::bad_alloc();
    mBits.reset();
    // The old picture in any other form has the old size: the palette's index
    // bytes would be read past their end, and textures would be read back
    // instead of the transparent picture a new size starts with.
    FreePalettizedForm();
    if (mTextureData)
        FreeTextures();
    mWidth = width;
    mHeight = height;
    mHasTrans = true;
    mHasAlpha = true;
    MarkBitsChanged();
}

void MemoryImage::Clear()
{
    uint32_t* bits = GetBits();
    if (bits == nullptr)
        return;
    std::fill_n(bits, PixelCount(), 0u);
    MarkBitsChanged();
}

void MemoryImage::MarkBitsChanged()
{
    ++mChangeCount;
    mAlphaDirty = true;
    mNativeAlpha.reset();
    mRLAlpha.reset();
    mRLAdditive.reset();
}

void MemoryImage::ForceAlphaFlags(bool hasTrans, bool hasAlpha)
{
    mForced = true;
    mHasTrans = hasTrans;
    mHasAlpha = hasAlpha;
}

void MemoryImage::SetVolatile(bool isVolatile)
{
    mVolatile = isVolatile;
}

void MemoryImage::FreeTextures()
{
    if (mApp)
        mApp->FreeImageTextures(this);
}

void MemoryImage::FreeDerivedData()
{
    FreeSoftwareCaches();
    FreeTextures();
}

void MemoryImage::ApplyPendingConversions()
{
    if (mWantPalette)
        Palletize();
    if (mWantDiscard)
        DiscardBits();
}

uint32_t* MemoryImage::GetBits()
{
    if (mBits)
        return mBits.get();
    const size_t pixels = PixelCount();
    auto bits = AllocateImageArray<uint32_t>(mWidth, mHeight, 1);
    bits[pixels] = kBitsMarker;
    if (IsPalettized()) {
        const uint32_t* table = mColorTable.get();
        const uint8_t* indices = mColorIndices.get();
        for (size_t i = 0; i < pixels; ++i)
            bits[i] = table[indices[i]];
        FreePalettizedForm();
    } else if (mNativeAlpha) {
        DisplayFormatConverter(HostDisplayFormat()).FromDisplay(mNativeAlpha.get(), bits.get(), pixels);
    } else if (!(mTextureData && mApp && mApp->ReadImageTextures(this, bits.get()))) {
        // No other form, or a refused read-back: transparent black.
        std::fill_n(bits.get(), pixels, 0u);
    }
    mBits = std::move(bits);
    return mBits.get();
}

void MemoryImage::ScanAlpha()
{
    if (!mAlphaDirty || mForced)
        return;
    mHasAlpha = false;
    const uint32_t* colors = nullptr;
    size_t count = 0;
    if (mBits) {
        colors = mBits.get();
        count = PixelCount();
    } else if (IsPalettized()) {
        colors = mColorTable.get();
        count = kPaletteSize;
    }
    if (colors) {
        // Without branches, so the scan of a freshly loaded picture vectorises.
        uint32_t anyClear = 0;
        uint32_t anyPartial = 0;
        for (size_t i = 0; i < count; ++i) {
            const uint32_t alpha = colors[i] >> 24;
            anyClear |= static_cast<uint32_t>(alpha == 0);
            anyPartial |= static_cast<uint32_t>(alpha - 1u < 254u);
        }
        mHasTrans = anyClear != 0;
        mHasAlpha = anyPartial != 0;
    } else {
        mHasTrans = true;
    }
    mAlphaDirty = false;
}

const uint32_t* MemoryImage::GetDisplayFormatData(const NativeDisplay* display)
{
    if (mNativeAlpha)
        return mNativeAlpha.get();
    ScanAlpha();
    const DisplayFormatConverter converter(*display);
    if (IsPalettized()) {
        auto data = std::make_unique_for_overwrite<uint32_t[]>(kPaletteSize);
        converter.ToDisplay(mColorTable.get(), data.get(), kPaletteSize);
        mNativeAlpha = std::move(data);
    } else {
        const uint32_t* bits = GetBits();
        if (bits == nullptr)
            return nullptr;
        auto data = AllocateImageArray<uint32_t>(mWidth, mHeight);
        converter.ToDisplay(bits, data.get(), PixelCount());
        mNativeAlpha = std::move(data);
    }
    return mNativeAlpha.get();
}

const uint8_t* MemoryImage::GetAlphaRunTable()
{
    ScanAlpha();
    if (mRLAlpha)
        return mRLAlpha.get();
    auto table = AllocateImageArray<uint8_t>(mWidth, mHeight);
    if (IsPalettized()) {
        const uint32_t* colors = mColorTable.get();
        const uint8_t* indices = mColorIndices.get();
        CodeRunLengths(table.get(), mWidth, mHeight, [colors, indices](size_t i) { return AlphaClass(colors[indices[i]]); });
    } else {
        // The display-format data keeps each pixel's alpha unchanged.
        const uint32_t* words = mNativeAlpha ? mNativeAlpha.get() : GetBits();
        CodeRunLengths(table.get(), mWidth, mHeight, [words](size_t i) { return AlphaClass(words[i]); });
    }
    mRLAlpha = std::move(table);
    return mRLAlpha.get();
}

const uint8_t* MemoryImage::GetAdditiveRunTable(const NativeDisplay* display)
{
    if (mRLAdditive)
        return mRLAdditive.get();
    const uint32_t* words = GetDisplayFormatData(display);
    auto table = AllocateImageArray<uint8_t>(mWidth, mHeight);
    if (IsPalettized()) {
        const uint8_t* indices = mColorIndices.get();
        CodeRunLengths(table.get(), mWidth, mHeight, [words, indices](size_t i) { return AdditiveClass(words[indices[i]]); });
    } else {
        CodeRunLengths(table.get(), mWidth, mHeight, [words](size_t i) { return AdditiveClass(words[i]); });
    }
    mRLAdditive = std::move(table);
    return mRLAdditive.get();
}

bool MemoryImage::Palletize()
{
    ScanAlpha();
    if (IsPalettized())
        return true;
    const uint32_t* bits = GetBits();
    auto indices = AllocateImageArray<uint8_t>(mWidth, mHeight);
    auto table = std::make_unique_for_overwrite<uint32_t[]>(kPaletteSize);
    if (!Palettizer::Run(bits, PixelCount(), table.get(), indices.get())) {
        mWantPalette = false;
        return false;
    }
    mColorIndices = std::move(indices);
    mColorTable = std::move(table);
    mBits.reset();
    mNativeAlpha.reset();
    mWantPalette = true;
    return true;
}

void MemoryImage::DiscardBits()
{
    mWantDiscard = true;
    if (!HostIs3D()) {
        if (!mBits && !IsPalettized())
            return;
        if (mTextureData && IsPalettized()) {
            // The palette goes too, so the display-format data must be made
            // per pixel: data made per palette entry would be read as pixels.
            GetBits();
        }
        GetDisplayFormatData(&HostDisplayFormat());
        mBits.reset();
    } else if (mTextureData) {
        mBits.reset();
        FreePalettizedForm();
    }
}

void MemoryImage::FreeSoftwareCaches()
{
    // The caches may be the only software copy of the picture.
    if (!mBits && !IsPalettized())
        GetBits();
    mNativeAlpha.reset();
    mRLAdditive.reset();
    mRLAlpha.reset();
}

void MemoryImage::FreeDisplayFormatData()
{
    if (!mBits && !IsPalettized())
        GetBits();
    mNativeAlpha.reset();
    mRLAdditive.reset();
}

} // namespace Tandry
