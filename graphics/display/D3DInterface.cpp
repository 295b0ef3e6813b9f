#include "graphics/display/D3DInterface.h"

#include "graphics/display/DDInterface.h"
#include "graphics/display/DXErrorName.h"
#include "graphics/display/DisplayHost.h"
#include "graphics/display/TextureData.h"
#include "graphics/image/MemoryImage.h"
#include "platform/d3d/D3DConstants.h"
#include "util/CritSectLock.h"

#include <algorithm>
#include <cstdint>

namespace Tandry {

using namespace Platform;

int gTextureFormats = 0;
int gMinTextureWidth = 64;
int gMinTextureHeight = 64;
int gMaxTextureWidth = 64;
int gMaxTextureHeight = 64;
int gMaxTextureAspect = 1;
bool gLinearFilterOn = false;
std::string gD3DErrorText;
bool gD3DSceneFailed = false;

namespace {

constexpr int kMaxTextureSize = 1024;

void ResetTextureLimits()
{
    gMinTextureWidth = 64;
    gMinTextureHeight = 64;
    gMaxTextureWidth = 64;
    gMaxTextureHeight = 64;
    gMaxTextureAspect = 1;
}

// A device's limit as an int; anything above the largest texture we make is
// that size.
int Limit(uint32_t value, int cap)
{
    return static_cast<int>(std::min<uint32_t>(value, static_cast<uint32_t>(cap)));
}

template <class T>
void ReleaseInterface(T*& object)
{
    if (object != nullptr)
        object->Release();
    object = nullptr;
}

} // namespace

void ResetD3DGlobals()
{
    gTextureFormats = 0;
    ResetTextureLimits();
    gLinearFilterOn = false;
    gD3DErrorText.clear();
    gD3DSceneFailed = false;
}

bool CheckD3DError(const char* operation, HRESULT hr)
{
    if (hr >= 0)
        return false;
    gD3DErrorText = std::string(operation) + ": " + DXErrorName(hr);
    if (DisplayHost* host = GetDisplayHost())
        host->WriteRegistryText("Test3D\\RuntimeError", gD3DErrorText);
    return true;
}

D3DInterface::D3DInterface()
{
    ResetTextureLimits();
}

D3DInterface::~D3DInterface()
{
    Cleanup();
}

bool D3DInterface::Init(DDInterface* display)
{
    gD3DErrorText.clear();
    if (display == nullptr || display->mDD7 == nullptr || display->mDrawSurface == nullptr)
        return false;
    mDisplay = display;
    mDD7 = display->mDD7;
    mHWnd = display->mHWnd;
    mWidth = display->mWidth;
    mHeight = display->mHeight;
    void* surface7 = nullptr;
    if (CheckD3DError("Query DrawSurface", display->mDrawSurface->QueryInterface(IID_IDirectDrawSurface7, &surface7)))
        return false;
    mDrawSurface7 = static_cast<IDirectDrawSurface7*>(surface7);
    mIsWindowed = display->mIsWindowed;
    return InitD3D();
}

bool D3DInterface::InitD3D()
{
    void* d3d = nullptr;
    if (CheckD3DError("QueryInterface IID_IDirect3D7", mDD7->QueryInterface(IID_IDirect3D7, &d3d)))
        return false;
    mD3D = static_cast<IDirect3D7*>(d3d);
    if (CheckD3DError("CreateDevice IID_IDirect3DHALDevice",
                      mD3D->CreateDevice(IID_IDirect3DHALDevice, mDrawSurface7, &mDevice)))
        return false;
    D3DDEVICEDESC7 caps;
    if (CheckD3DError("", mDevice->GetCaps(&caps)))
        return false;

    gMinTextureWidth = Limit(caps.dwMinTextureWidth, kMaxTextureSize);
    gMinTextureHeight = Limit(caps.dwMinTextureHeight, kMaxTextureSize);
    gMaxTextureWidth = Limit(caps.dwMaxTextureWidth, kMaxTextureSize);
    gMaxTextureHeight = Limit(caps.dwMaxTextureHeight, kMaxTextureSize);
    gMaxTextureAspect = Limit(caps.dwMaxTextureAspectRatio, 65536);
    gLinearFilterOn = false;
    if (caps.dwMaxTextureWidth == 0) {
        ResetTextureLimits();
    }
    gMinTextureWidth = std::max(gMinTextureWidth, 1);
    gMinTextureHeight = std::max(gMinTextureHeight, 1);
    // A minimum above the maximum would ask for textures the device refuses.
    gMaxTextureWidth = std::max(gMaxTextureWidth, 1);
    gMaxTextureHeight = std::max(gMaxTextureHeight, 1);
    gMinTextureWidth = std::min(gMinTextureWidth, gMaxTextureWidth);
    gMinTextureHeight = std::min(gMinTextureHeight, gMaxTextureHeight);
    if (gMaxTextureAspect == 0)
        gMaxTextureAspect = 65536;

    gTextureFormats = 0;
    mDevice->EnumTextureFormats(EnumTextureFormatCallback, nullptr);
    if ((caps.dpcTriCaps.dwTextureCaps & D3DPTEXTURECAPS_ALPHAPALETTE) == 0)
        gTextureFormats &= ~kTexturePalette8;

    SetupViewport();
    mDevice->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0);
    return true;
}

void D3DInterface::SetupViewport()
{
    mViewport = D3DVIEWPORT7();
    mViewport.dwX = 0;
    mViewport.dwY = 0;
    mViewport.dwWidth = static_cast<uint32_t>(std::max(mWidth, 0));
    mViewport.dwHeight = static_cast<uint32_t>(std::max(mHeight, 0));
    mViewport.dvMinZ = 0.0f;
    mViewport.dvMaxZ = 1.0f;
    mDevice->SetViewport(&mViewport);
}

void D3DInterface::Cleanup()
{
    Flush();
    // Images join the set only through a device, which Init made for mDisplay.
    if (!mTextureImages.empty()) {
        CritSectLock lock(mDisplay->mCritSect);
        const std::set<MemoryImage*> images = mTextureImages;
        for (MemoryImage* image : images) {
            // Textures may hold the only copy of a picture whose pixel array
            // was discarded; it goes back to memory before they go.
            if (!image->mBits && !image->mColorIndices)
                image->GetBits();
            delete image->mTextureData;
            image->mTextureData = nullptr;
        }
        mTextureImages.clear();
    }
    ReleaseInterface(mDevice);
    ReleaseInterface(mD3D);
    ReleaseInterface(mDrawSurface7);
    mSceneBegun = false;
}

void D3DInterface::Flush()
{
    if (!mSceneBegun)
        return;
    if (mDevice != nullptr)
        mDevice->EndScene();
    mSceneBegun = false;
    gD3DErrorText.clear();
}

} // namespace Tandry
