#include "graphics/display/DDImage.h"

#include "graphics/display/DDInterface.h"
#include "graphics/display/DisplayHost.h"
#include "graphics/display/SurfaceConverter.h"
#include "graphics/display/SurfacePictureWriter.h"
#include "graphics/image/ImageArray.h"
#include "graphics/image/ImageHost.h"
#include "platform/ddraw/DDrawConstants.h"

#include <algorithm>

namespace Tandry {

using namespace Platform;

namespace {

DDInterface* ApplicationDisplay()
{
    DisplayHost* host = GetDisplayHost();
    return host != nullptr ? host->GetDDInterface() : nullptr;
}

SurfaceMemory LockedMemory(const DDSURFACEDESC& desc)
{
    return SurfaceMemory{static_cast<uint8_t*>(desc.lpSurface), desc.lPitch,
                         static_cast<int>(desc.ddpfPixelFormat.dwRGBBitCount)};
}

} // namespace

DDImage::DDImage() : DDImage(ApplicationDisplay()) {}

DDImage::DDImage(DDInterface* display) : MemoryImage(GetImageHost()), mDDInterface(display)
{
    Init();
}

void DDImage::Init()
{
    if (mDDInterface != nullptr)
        mDDInterface->AddImage(this);
}

DDImage::~DDImage()
{
    DropSurface();
    if (mDDInterface != nullptr)
        mDDInterface->RemoveImage(this);
}

void DDImage::DetachDisplay()
{
    ReleaseSurface();
    mDDInterface = nullptr;
}

SurfaceConverter DDImage::LockedConverter() const
{
    const DDPIXELFORMAT& format = mLockDesc.ddpfPixelFormat;
    if (mDDInterface != nullptr)
        return SurfaceConverter(*mDDInterface, format.dwRBitMask, format.dwGBitMask, format.dwBBitMask);
    // An adopted surface without a display: its own masks give the channels.
    NativeDisplay own;
    own.SetPixelFormat(static_cast<int>(format.dwRGBBitCount), format.dwRBitMask, format.dwGBitMask, format.dwBBitMask);
    return SurfaceConverter(own, format.dwRBitMask, format.dwGBitMask, format.dwBBitMask);
}

bool DDImage::DisplayIs3D() const
{
    return mDDInterface != nullptr && mDDInterface->mIs3D;
}

bool DDImage::Is3DScreen() const
{
    return DisplayIs3D() && mSurface != nullptr && mSurface == mDDInterface->mDrawSurface;
}

IDirectDrawSurface* DDImage::GetSurface()
{
    if (mSurface == nullptr)
        CreateSurface();
    return mSurface;
}

bool DDImage::CreateSurface()
{
    if (mSurface != nullptr)
        return true;
    if (mDDInterface == nullptr)
        return false;
    // Whatever form holds the picture (palette, display-format data,
    // textures), the surface is written from the pixel array.
    const uint32_t* bits = GetBits();
    ScanAlpha();
    mWantSurface = true;

    DDSURFACEDESC2 desc;
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    desc.ddsCaps.dwCaps = mVideoMemory ? DDSCAPS_VIDEOMEMORY : DDSCAPS_SYSTEMMEMORY;
    desc.dwWidth = static_cast<uint32_t>(mWidth);
    desc.dwHeight = static_cast<uint32_t>(mHeight);

    CritSectLock lock(mDDInterface->mCritSect);
    if (mDDInterface->CreateSurface(&desc, &mSurface) < 0)
        return false;
    // A surface that was never written must not stand for the picture.
    if (!LockSurface()) {
        DropSurface();
        return false;
    }
    const SurfaceMemory memory = LockedMemory(mLockDesc);
    if (memory.bitsPerPixel != 16 && memory.bitsPerPixel != 32) {
        DropSurface();
        return false;
    }
    const SurfaceConverter converter = LockedConverter();
    const uint32_t key = SurfacePictureWriter::Write(converter, bits, mWidth, mHeight, mHasTrans, memory);
    UnlockSurface();
    if (mHasTrans) {
        DDCOLORKEY colorKey;
        colorKey.dwColorSpaceLowValue = key;
        colorKey.dwColorSpaceHighValue = key;
        mSurface->SetColorKey(DDCKEY_SRCBLT, &colorKey);
        mColorKey = key;
        mKeySet = true;
    }
    return true;
}

bool DDImage::LockSurface()
{
    if (Is3DScreen())
        return false;
    if (mLockCount == 0) {
        IDirectDrawSurface* surface = GetSurface();
        if (surface == nullptr)
            return false;
        mLockDesc = DDSURFACEDESC();
        mLockDesc.dwSize = sizeof(mLockDesc);
        if (surface->Lock(nullptr, &mLockDesc, DDLOCK_WAIT, nullptr) != DD_OK)
            return false;
    }
    ++mLockCount;
    return true;
}

bool DDImage::UnlockSurface()
{
    if (Is3DScreen() || mLockCount <= 0)
        return false;
    if (--mLockCount == 0 && mSurface != nullptr)
        mSurface->Unlock(nullptr);
    return true;
}

void DDImage::AdoptSurface(IDirectDrawSurface* surface)
{
    DropSurface();
    mSurfaceAdopted = true;
    mSurface = surface;
    surface->AddRef();
    DDSURFACEDESC desc;
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DDSD_HEIGHT | DDSD_WIDTH;
    surface->GetSurfaceDesc(&desc);
    mWidth = static_cast<int>(desc.dwWidth);
    mHeight = static_cast<int>(desc.dwHeight);
    mNoDraw = false;
}

void DDImage::DropSurface()
{
    if (mSurface == nullptr)
        return;
    if (mLockCount > 0)
        mSurface->Unlock(nullptr);
    mLockCount = 0;
    mSurface->Release();
    mSurface = nullptr;
    mKeySet = false;
}

void DDImage::ReleaseSurface()
{
    if (mSurface == nullptr)
        return;
    if (!mColorTable && !mBits && mTextureData == nullptr)
        GetBits();
    DropSurface();
}

void DDImage::FreeMemoryCopies()
{
    mBits.reset();
    mNativeAlpha.reset();
    mRLAdditive.reset();
    mRLAlpha.reset();
    mColorTable.reset();
    mColorIndices.reset();
}

void DDImage::SetVideoMemory(bool videoMemory)
{
    if (videoMemory == mVideoMemory)
        return;
    mVideoMemory = videoMemory;
    GetBits();
    ReleaseSurface();
}

bool DDImage::CreateKeyedSurface()
{
    return CreateSurface();
}

uint32_t* DDImage::GetBits()
{
    if (mBits)
        return mBits.get();
    if (mSurface == nullptr)
        return MemoryImage::GetBits();
    if (mNoDraw || !LockSurface())
        return nullptr;
    const size_t pixels = CheckedImageArrayCount(mWidth, mHeight, sizeof(uint32_t), 1) - 1;
    auto bits = AllocateImageArray<uint32_t>(mWidth, mHeight, 1);
    bits[pixels] = kBitsMarker;
    const SurfaceMemory memory = LockedMemory(mLockDesc);
    // Only 16- and 32-bit surfaces are read; any other gives transparent black.
    if (memory.bitsPerPixel != 16 && memory.bitsPerPixel != 32)
        std::fill_n(bits.get(), pixels, 0u);
    const SurfaceConverter converter = LockedConverter();
    const bool keyed = mKeySet && mHasTrans;
    converter.ReadRect(memory, Rect(0, 0, mWidth, mHeight), bits.get(),
                       static_cast<size_t>(mWidth), keyed ? &mColorKey : nullptr);
    UnlockSurface();
    mBits = std::move(bits);
    return mBits.get();
}

void DDImage::Create(int width, int height)
{
    const bool hasTrans = mHasTrans;
    const bool hasAlpha = mHasAlpha;
    MemoryImage::Create(width, height);
    mHasTrans = hasTrans;
    mHasAlpha = hasAlpha;
}

void DDImage::MarkBitsChanged()
{
    MemoryImage::MarkBitsChanged();
    DropSurface();
}

void DDImage::ScanAlpha()
{
    // A surface carries no alpha: the flags stay as the pixels had them.
    if (mSurface == nullptr)
        MemoryImage::ScanAlpha();
}

void DDImage::DiscardBits()
{
    if (mSurfaceAdopted)
        return;
    mWantDiscard = true;
    ScanAlpha();
    if (DisplayIs3D()) {
        if (mSurface != nullptr) {
            GetBits();
            ReleaseSurface();
        }
        MemoryImage::DiscardBits();
    } else if (mWantSurface && CreateSurface()) {
        mBits.reset();
        mColorIndices.reset();
        mColorTable.reset();
    } else {
        MemoryImage::DiscardBits();
    }
}

void DDImage::FreeDerivedData()
{
    if (mSurfaceAdopted)
        return;
    MemoryImage::FreeDerivedData();
    ReleaseSurface();
}

void DDImage::FreeDisplayFormatData()
{
    if (mSurfaceAdopted)
        return;
    MemoryImage::FreeDisplayFormatData();
    ReleaseSurface();
}

void DDImage::ApplyPendingConversions()
{
    MemoryImage::ApplyPendingConversions();
    if (mWantSurface)
        CreateSurface();
}

bool DDImage::Palletize()
{
    if (!MemoryImage::Palletize())
        return false;
    ReleaseSurface();
    return true;
}

} // namespace Tandry
