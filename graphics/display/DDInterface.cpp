#include "graphics/display/DDInterface.h"

#include "graphics/display/D3DTester.h"
#include "graphics/display/DDImage.h"
#include "graphics/display/DXErrorName.h"
#include "graphics/display/DisplayHost.h"
#include "graphics/display/DisplayResult.h"
#include "platform/Platform.h"
#include "platform/ddraw/DDrawConstants.h"
#include "platform/ddraw/DDrawPixelFormat.h"
#include "platform/window/WindowMessages.h"
#include "util/Format.h"

#include <algorithm>

namespace Tandry {

using namespace Platform;

DirectDrawCreateProc gDirectDrawCreate = nullptr;
DirectDrawCreateExProc gDirectDrawCreateEx = nullptr;
std::atomic<bool> gDisplayRGBOrdered{false};

void ResetDisplayGlobals()
{
    gDirectDrawCreate = nullptr;
    gDirectDrawCreateEx = nullptr;
    gDisplayRGBOrdered = false;
}

namespace {

constexpr uint32_t kPlainCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;

// The display's questions go to the installed host; without one (tests of
// other layers, an application not wired yet) the defaults answer and the
// results go nowhere.
DisplaySettings CurrentSettings()
{
    DisplayHost* host = GetDisplayHost();
    return host != nullptr ? host->GetDisplaySettings() : DisplaySettings{};
}

DDSURFACEDESC2 Description(uint32_t flags, uint32_t caps)
{
    DDSURFACEDESC2 desc;
    desc.dwSize = sizeof(desc);
    desc.dwFlags = flags;
    desc.ddsCaps.dwCaps = caps;
    return desc;
}

void PrintSize(const wchar_t* format, int width, int height, const ReducedFraction& aspect)
{
    DebugPrintf(format, static_cast<unsigned long>(width), static_cast<unsigned long>(height), aspect.numerator,
                aspect.denominator);
}

// No real display has a channel wider than 16 bits; a malformed one gets a
// table for 16-bit sums rather than one of billions of entries.
void FillAddTable(std::vector<int>& table, int bits)
{
    const int max = bits >= 31 ? 0x7FFFFFFF : (1 << bits) - 1;
    table.assign(static_cast<size_t>(std::min(max, 0xFFFF)) * 2 + 1, 0);
    for (size_t i = 0; i < table.size(); ++i)
        table[i] = std::min(static_cast<int>(i), max);
}

void FillConvTable(int (&table)[256], uint32_t mask)
{
    for (uint32_t l = 0; l < 256; ++l)
        table[l] = static_cast<int>((l * mask / 255) & mask);
}

} // namespace

DDInterface::DDInterface() : mD3DInterface(new D3DInterface())
{
    gDirectDrawCreate = reinterpret_cast<DirectDrawCreateProc>(GetDDrawProcAddress("DirectDrawCreate"));
    gDirectDrawCreateEx = reinterpret_cast<DirectDrawCreateExProc>(GetDDrawProcAddress("DirectDrawCreateEx"));
}

DDInterface::~DDInterface()
{
    CritSectLock lock(mCritSect);
    mRedAddTable.clear();
    mGreenAddTable.clear();
    mBlueAddTable.clear();
    Cleanup();
    delete mD3DInterface;
    mD3DInterface = nullptr;
    delete mD3DTester;
    mD3DTester = nullptr;
    mErrorText.clear();
    // An image may outlive the display (the application deletes its own
    // images after the display): it keeps its picture in memory and never
    // calls back.
    const std::set<DDImage*> images = mImageSet;
    for (DDImage* image : images)
        image->DetachDisplay();
    mImageSet.clear();
}

std::string DDInterface::ResultName(int code)
{
    return Tandry::ResultName(code);
}

bool DDInterface::CheckDXError(const char* operation, HRESULT hr)
{
    if (hr >= 0)
        return false;
    mErrorText = FormatString("%s: %s", operation, DXErrorName(hr).c_str());
    return true;
}

bool DDInterface::RunCapabilityTest(HWND window)
{
    const DisplaySettings settings = CurrentSettings();
    if (mD3DTester != nullptr || (!settings.test3D && !settings.autoEnable3D))
        return false;
    mD3DTester = new D3DTester();
    mD3DTester->mMinVidMemory = settings.minVidMemoryMB;
    mD3DTester->mRecVidMemory = settings.recVidMemoryMB;
    mD3DTester->Run(mDD7, window);
    if (settings.autoEnable3D && mD3DTester->PassedWithoutWarning())
        mIs3D = true;
    if (!mD3DTester->Passed())
        mIs3D = false;
    // A result of its own with a warning leaves the choice to the player.
    if (mD3DTester->mFreshResult && !mD3DTester->PassedWithoutWarning())
        mIs3D = false;
    return true;
}

int DDInterface::Init(HWND window, bool windowed)
{
    CritSectLock lock(mCritSect);
    mInitialized = false;
    Cleanup();
    mErrorText.clear();

    if (const int result = CreateDirectDraw(); result != RESULT_OK)
        return result;
    if (RunCapabilityTest(window) && mD3DTester->mFreshResult) {
        if (DisplayHost* host = GetDisplayHost())
            host->On3DTestDone();
    }
    const DisplaySettings settings = CurrentSettings();
    ReadGeometry(settings, window, windowed);

    const int branch = windowed ? InitWindowed(settings) : InitFullScreen(settings);
    if (branch != RESULT_OK)
        return branch;

    PrintSize(L"Draw buffer is       %4lu x %4lu [%2d:%2d]\n", mWidth, mHeight, mAspect);
    ReadRefreshRate();
    if (const int result = CreateCursorAreas(); result != RESULT_OK)
        return result;
    if (mPrimarySurface != nullptr) {
        DDSURFACEDESC desc;
        desc.dwSize = sizeof(desc);
        mPrimarySurface->GetSurfaceDesc(&desc);
        const uint32_t bits = desc.ddpfPixelFormat.dwRGBBitCount;
        if (bits != 16 && bits != 32)
            return RESULT_INVALID_COLORDEPTH;
        AnalysePixelFormat(desc.ddpfPixelFormat);
    }
    SetScreenInVideoMemory(mScreenInVideoMemory);
    if (mIs3D && !mD3DInterface->Init(this)) {
        mErrorText = "3D init error: " + gD3DErrorText;
        return RESULT_D3D_INIT_FAIL;
    }
    mInitialized = true;
    return RESULT_OK;
}

int DDInterface::CreateDirectDraw()
{
    HRESULT hr = DDERR_NODIRECTDRAWSUPPORT;
    if (gDirectDrawCreateEx != nullptr) {
        void* object = nullptr;
        hr = gDirectDrawCreateEx(nullptr, &object, IID_IDirectDraw7, nullptr);
        if (CheckDXError("DirectDrawCreateEx", hr))
            return RESULT_DD_CREATE_FAIL;
        mDD7 = static_cast<IDirectDraw7*>(object);
        object = nullptr;
        hr = mDD7->QueryInterface(IID_IDirectDraw, &object);
        if (CheckDXError("QueryrInterface IID_IDirectDraw", hr))
            return RESULT_DD_CREATE_FAIL;
        mDD = static_cast<IDirectDraw*>(object);
    } else if (gDirectDrawCreate != nullptr) {
        hr = gDirectDrawCreate(nullptr, &mDD, nullptr);
    }
    if (CheckDXError("DirectDrawCreate", hr))
        return RESULT_DD_CREATE_FAIL;
    return RESULT_OK;
}

void DDInterface::ReadGeometry(const DisplaySettings& settings, HWND window, bool windowed)
{
    mHWnd = window;
    mWidth = settings.width;
    mHeight = settings.height;
    mAspect.Assign(mWidth, mHeight);
    WindowSystem& windows = GetPlatform().GetWindows();
    mDesktopWidth = windows.GetSystemMetrics(SM_CXSCREEN);
    mDesktopHeight = windows.GetSystemMetrics(SM_CYSCREEN);
    // No screen information: reducing the aspect would divide by zero.
    if (mDesktopWidth <= 0 || mDesktopHeight <= 0) {
        mDesktopWidth = mWidth;
        mDesktopHeight = mHeight;
    }
    mDesktopAspect.Assign(mDesktopWidth, mDesktopHeight);
    mDisplayWidth = mWidth;
    mDisplayHeight = mHeight;
    mDisplayAspect = mAspect;
    mAspectCorrected = false;
    mPresentationRect = Rect(0, 0, mWidth, mHeight);
    if (DisplayHost* host = GetDisplayHost())
        host->SetScreenBounds(mPresentationRect);
    mFullScreenBits = settings.fullScreenBits;
    mIsWindowed = windowed;
    mCursorAreaSaved = false;
    PrintSize(L"Application requests %4lu x %4lu [%2d:%2d]\n", mWidth, mHeight, mAspect);
}

int DDInterface::InitWindowed(const DisplaySettings& settings)
{
    DebugPrintf(L"Hack aspect is                   [%2d:%2d]\n", settings.aspectRatio.numerator,
                settings.aspectRatio.denominator);
    PrintSize(L"Window is            %4lu x %4lu [%2d:%2d]\n", mDisplayWidth, mDisplayHeight, mDisplayAspect);
    mDD->SetCooperativeLevel(mHWnd, DDSCL_NORMAL);

    DDSURFACEDESC2 desc = Description(DDSD_CAPS, DDSCAPS_PRIMARYSURFACE | (mIs3D ? DDSCAPS_3DDEVICE : 0));
    const HRESULT hr = CreateSurface(&desc, &mPrimarySurface);
    if (hr == DDERR_INVALIDPIXELFORMAT)
        return RESULT_INVALID_COLORDEPTH;
    if (CheckDXError("CreateSurface Windowed Primary", hr))
        return RESULT_SURFACE_FAIL;
    return CreateDrawSurfaceAndClipper("CreateSurface Windowed DrawSurface", "CreateClipper Windowed");
}

int DDInterface::InitFullScreen(const DisplaySettings& settings)
{
    PrintSize(L"Desktop is           %4lu x %4lu [%2d:%2d]\n", mDesktopWidth, mDesktopHeight, mDesktopAspect);
    // Only Direct3D can stretch the logical screen to a wider display: it is
    // pillarboxed at the desktop's full height.
    if (mIs3D && mAspect < mDesktopAspect) {
        mAspectCorrected = true;
        mDisplayAspect = mDesktopAspect;
        mDisplayWidth = mDesktopWidth;
        mDisplayHeight = mDesktopHeight;
        const int width = static_cast<int>(static_cast<int64_t>(mWidth) * mDesktopHeight / mHeight);
        mPresentationRect = Rect((mDesktopWidth - width) / 2, 0, width, mDesktopHeight);
    }
    PrintSize(L"Display is           %4lu x %4lu [%2d:%2d]\n", mDisplayWidth, mDisplayHeight, mDisplayAspect);

    if (CheckDXError("SetCooperativeLevel FullScreen",
                     mDD->SetCooperativeLevel(mHWnd, DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE)))
        return RESULT_EXCLUSIVE_FAIL;
    mFullScreenActive = true;
    if (CheckDXError("SetDisplayMode FullScreen",
                     mDD->SetDisplayMode(static_cast<uint32_t>(mDisplayWidth), static_cast<uint32_t>(mDisplayHeight),
                                         static_cast<uint32_t>(mFullScreenBits))))
        return RESULT_DISPCHANGE_FAIL;

    DDSURFACEDESC2 desc = Description(DDSD_CAPS | DDSD_BACKBUFFERCOUNT, DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP |
                                                                            DDSCAPS_COMPLEX |
                                                                            (mIs3D ? DDSCAPS_3DDEVICE : 0));
    desc.dwBackBufferCount = 1;
    if (CheckDXError("CreateSurface FullScreen Primary", CreateSurface(&desc, &mPrimarySurface)))
        return RESULT_SURFACE_FAIL;
    DDSCAPS backCaps;
    backCaps.dwCaps = DDSCAPS_BACKBUFFER;
    if (CheckDXError("GetAttachedSurface", mPrimarySurface->GetAttachedSurface(&backCaps, &mSecondarySurface)))
        return RESULT_SURFACE_FAIL;
    if (mAspectCorrected) {
        ClearSurface(mPrimarySurface);
        ClearSurface(mSecondarySurface);
    }
    if (const int result = CreateDrawSurfaceAndClipper("CreateSurface FullScreen DrawSurface", "CreateClipper FullScreen");
        result != RESULT_OK)
        return result;
    if (!settings.desktopPc)
        mDD->FlipToGDISurface();
    return RESULT_OK;
}

int DDInterface::CreateDrawSurfaceAndClipper(const char* surfaceText, const char* clipperText)
{
    const uint32_t caps = mIs3D ? DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE | DDSCAPS_VIDEOMEMORY : kPlainCaps;
    if (CheckDXError(surfaceText, CreatePlainSurface(mWidth, mHeight, caps, &mDrawSurface)))
        return RESULT_SURFACE_FAIL;
    IDirectDrawClipper* clipper = nullptr;
    if (CheckDXError(clipperText, mDD->CreateClipper(0, &clipper, nullptr)))
        return RESULT_FAIL;
    if (clipper->SetHWnd(0, mHWnd) >= 0)
        mPrimarySurface->SetClipper(clipper);
    clipper->Release();
    return RESULT_OK;
}

void DDInterface::ReadRefreshRate()
{
    uint32_t hz = 0;
    const HRESULT hr = mDD->GetMonitorFrequency(&hz);
    unsigned int rate = hz;
    bool broken = false;
    if (hr < 0 || hz < 60) {
        rate = 60;
        broken = true;
    } else if (hz > 100) {
        rate = 100;
        broken = true;
    }
    if (broken) {
        if (DisplayHost* host = GetDisplayHost())
            host->SetVSyncBroken();
    }
    mRefreshRate = rate;
    mMillisPerRefresh = static_cast<int>(1000 / mRefreshRate);
}

int DDInterface::CreateCursorAreas()
{
    if (CheckDXError("CreateSurface OldCursorArea",
                     CreatePlainSurface(mCursorAreaWidth, mCursorAreaHeight, kPlainCaps, &mOldCursorArea)))
        return RESULT_SURFACE_FAIL;
    mOldCursorAreaImage = AdoptInNewImage(mOldCursorArea);
    if (CheckDXError("CreateSurface NewCursorArea",
                     CreatePlainSurface(mCursorAreaWidth, mCursorAreaHeight, kPlainCaps, &mNewCursorArea)))
        return RESULT_SURFACE_FAIL;
    mNewCursorAreaImage = AdoptInNewImage(mNewCursorArea);
    return RESULT_OK;
}

DDImage* DDInterface::AdoptInNewImage(IDirectDrawSurface* surface)
{
    DDImage* image = new DDImage(this);
    image->AdoptSurface(surface);
    image->ForceAlphaFlags(false, false);
    return image;
}

HRESULT DDInterface::CreatePlainSurface(int width, int height, uint32_t caps, IDirectDrawSurface** out)
{
    DDSURFACEDESC2 desc = Description(DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT, caps);
    desc.dwWidth = static_cast<uint32_t>(width);
    desc.dwHeight = static_cast<uint32_t>(height);
    return CreateSurface(&desc, out);
}

void DDInterface::AnalysePixelFormat(const DDPIXELFORMAT& format)
{
    SetPixelFormat(static_cast<int>(format.dwRGBBitCount), format.dwRBitMask, format.dwGBitMask, format.dwBBitMask);
    FillAddTable(mRedAddTable, mRedBits);
    FillAddTable(mGreenAddTable, mGreenBits);
    FillAddTable(mBlueAddTable, mBlueBits);
    FillConvTable(mRedConvTable, format.dwRBitMask);
    FillConvTable(mGreenConvTable, format.dwGBitMask);
    FillConvTable(mBlueConvTable, format.dwBBitMask);
}

HRESULT DDInterface::CreateSurface(DDSURFACEDESC2* desc, IDirectDrawSurface** out)
{
    CritSectLock lock(mCritSect);
    *out = nullptr;
    // After a failed Init or a Cleanup an image may still ask (the loading
    // thread, a mode change): it stays in its memory form.
    if (mDD7 == nullptr && mDD == nullptr)
        return DDERR_NOTINITIALIZED;
    HRESULT hr;
    if (mDD7 != nullptr) {
        IDirectDrawSurface7* surface7 = nullptr;
        hr = mDD7->CreateSurface(desc, &surface7, nullptr);
        if (hr < 0)
            return hr;
        void* surface = nullptr;
        hr = surface7->QueryInterface(IID_IDirectDrawSurface, &surface);
        surface7->Release();
        if (hr < 0)
            return hr;
        *out = static_cast<IDirectDrawSurface*>(surface);
    } else {
        DDSURFACEDESC first;
        first.dwSize = sizeof(first);
        first.dwFlags = desc->dwFlags;
        first.dwHeight = desc->dwHeight;
        first.dwWidth = desc->dwWidth;
        first.lPitch = desc->lPitch;
        first.dwBackBufferCount = desc->dwBackBufferCount;
        first.dwRefreshRate = desc->dwRefreshRate;
        first.dwAlphaBitDepth = desc->dwAlphaBitDepth;
        first.dwReserved = desc->dwReserved;
        first.lpSurface = desc->lpSurface;
        CopyPixelFormat(first.ddpfPixelFormat, desc->ddpfPixelFormat);
        first.ddsCaps.dwCaps = desc->ddsCaps.dwCaps;
        hr = mDD->CreateSurface(&first, out, nullptr);
        if (hr < 0)
            return hr;
    }
    if (mPrimarySurface == nullptr) {
        Release(*out);
        return DDERR_NOTINITIALIZED;
    }
    DDSURFACEDESC primary;
    primary.dwSize = sizeof(primary);
    mPrimarySurface->GetSurfaceDesc(&primary);
    const DDPIXELFORMAT& format = primary.ddpfPixelFormat;
    gDisplayRGBOrdered = format.dwBBitMask < format.dwGBitMask && format.dwGBitMask < format.dwRBitMask;
    if (format.dwRGBBitCount != 32 && format.dwRGBBitCount != 16) {
        Release(*out);
        return DDERR_INVALIDPIXELFORMAT;
    }
    return hr;
}

void DDInterface::Release(IDirectDrawSurface*& surface)
{
    if (surface != nullptr)
        surface->Release();
    surface = nullptr;
}

void DDInterface::Cleanup()
{
    CritSectLock lock(mCritSect);
    mInitialized = false;
    mD3DInterface->Cleanup();
    delete mOldCursorAreaImage;
    mOldCursorAreaImage = nullptr;
    delete mNewCursorAreaImage;
    mNewCursorAreaImage = nullptr;
    delete mScreenImage;
    mScreenImage = nullptr;
    Release(mOldCursorArea);
    Release(mNewCursorArea);
    Release(mDrawSurface);
    Release(mSecondarySurface);
    Release(mPrimarySurface);
    if (mDD != nullptr) {
        mDD->SetCooperativeLevel(mHWnd, DDSCL_NORMAL);
        mDD->Release();
        mDD = nullptr;
    }
    if (mDD7 != nullptr) {
        mDD7->Release();
        mDD7 = nullptr;
    }
    mFullScreenActive = false;
}

void DDInterface::SetScreenInVideoMemory(bool on)
{
    CritSectLock lock(mCritSect);
    mScreenInVideoMemory = on;
    // Before the display is up there is nothing to move; Init places the
    // screen image as asked.
    if (mDrawSurface == nullptr)
        return;
    if (mSecondarySurface == nullptr && CreatePlainSurface(mWidth, mHeight, DDSCAPS_VIDEOMEMORY, &mSecondarySurface) < 0)
        mScreenInVideoMemory = false;
    delete mScreenImage;
    mScreenImage = new DDImage(this);
    mScreenImage->AdoptSurface(mScreenInVideoMemory ? mSecondarySurface : mDrawSurface);
    mScreenImage->mVideoMemory = mScreenInVideoMemory;
    mScreenImage->mNoDraw = mScreenInVideoMemory;
    mScreenImage->ForceAlphaFlags(false, false);
}

void DDInterface::FlipToGDISurface()
{
    CritSectLock lock(mCritSect);
    if (mDD != nullptr)
        mDD->FlipToGDISurface();
}

void DDInterface::RestoreDisplayMode()
{
    CritSectLock lock(mCritSect);
    if (mDD != nullptr && mFullScreenActive)
        mDD->SetCooperativeLevel(mHWnd, DDSCL_NORMAL);
    mFullScreenActive = false;
}

HRESULT ClearSurface(IDirectDrawSurface* surface)
{
    if (surface == nullptr)
        return DD_OK;
    DDSURFACEDESC desc;
    desc.dwSize = sizeof(desc);
    const HRESULT locked = surface->Lock(nullptr, &desc, DDLOCK_WAIT | DDLOCK_WRITEONLY, nullptr);
    if (locked < 0)
        return locked;
    const size_t rowBytes = static_cast<size_t>(desc.dwWidth) * desc.ddpfPixelFormat.dwRGBBitCount / 8;
    auto* row = static_cast<uint8_t*>(desc.lpSurface);
    for (uint32_t y = 0; y < desc.dwHeight; ++y, row += desc.lPitch)
        std::fill_n(row, rowBytes, uint8_t{0});
    return surface->Unlock(nullptr);
}

} // namespace Tandry
