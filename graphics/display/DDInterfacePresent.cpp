// Presenting a frame, the software cursor and the image set of the display.
#include "graphics/context/Graphics.h"
#include "graphics/display/DDImage.h"
#include "graphics/display/DDInterface.h"
#include "graphics/display/DXErrorName.h"
#include "graphics/display/DisplayHost.h"
#include "platform/Platform.h"
#include "platform/ddraw/DDrawConstants.h"

namespace Tandry {

using namespace Platform;

namespace {

RECT ToRECT(const Rect& r)
{
    return RECT{r.x, r.y, r.x + r.width, r.y + r.height};
}

Rect Moved(const Rect& r, int dx, int dy)
{
    return Rect(r.x + dx, r.y + dy, r.width, r.height);
}

DDBLTFX NoEffects()
{
    DDBLTFX effects;
    effects.dwSize = sizeof(effects);
    return effects;
}

} // namespace

WinPoint DDInterface::ClientOrigin()
{
    WinPoint origin;
    if (mIsWindowed)
        GetPlatform().GetWindows().ClientToScreen(mHWnd, origin);
    return origin;
}

Rect DDInterface::CursorArea() const
{
    return Rect(mCursorDrawnX - mCursorAreaWidth / 2, mCursorDrawnY - mCursorAreaHeight / 2, mCursorAreaWidth,
                mCursorAreaHeight);
}

bool DDInterface::Redraw(Rect* dirty)
{
    CritSectLock lock(mCritSect);
    if (!mInitialized)
        return false;
    DDBLTFX effects = NoEffects();
    if (mIs3D) {
        // A Direct3D failure recorded during the frame ends 3D drawing; the
        // application sets the display up again.
        if (!gD3DErrorText.empty()) {
            mIs3D = false;
            return false;
        }
        mD3DInterface->Flush();
    }

    RECT source;
    RECT dest;
    if (dirty != nullptr && !mAspectCorrected) {
        source = ToRECT(*dirty);
        dest = source;
    } else {
        source = RECT{0, 0, mWidth, mHeight};
        dest = ToRECT(mPresentationRect);
    }
    const WinPoint origin = ClientOrigin();
    dest = RECT{dest.left + origin.x, dest.top + origin.y, dest.right + origin.x, dest.bottom + origin.y};

    DDSURFACEDESC desc;
    desc.dwSize = sizeof(desc);
    if (mDrawSurface->Lock(nullptr, &desc, DDLOCK_WAIT | DDLOCK_READONLY, nullptr) >= 0)
        mDrawSurface->Unlock(nullptr);

    if (mIsWindowed) {
        // The screen image never keeps the cursor: it is drawn into the
        // surface being shown and taken out again after the blit.
        IDirectDrawSurface* shown = mScreenInVideoMemory ? mSecondarySurface : mDrawSurface;
        mCursorDrawnX = mCursorX.load();
        mCursorDrawnY = mCursorY.load();
        DrawSoftwareCursor(shown, false);
        const HRESULT hr = mPrimarySurface->Blt(&dest, shown, &source, DDBLT_WAIT, &effects);
        if (mCursorAreaSaved)
            RestoreCursorArea(shown);
        return !CheckDXError("Redraw Windowed", hr);
    }

    const DisplaySettings settings = [] {
        DisplayHost* host = GetDisplayHost();
        return host != nullptr ? host->GetDisplaySettings() : DisplaySettings{};
    }();
    if (!settings.systemPopupShowing && settings.desktopPc) {
        if (!mScreenInVideoMemory)
            mSecondarySurface->Blt(&dest, mDrawSurface, &source, DDBLT_WAIT, &effects);
        mCursorDrawnX = mCursorX.load();
        mCursorDrawnY = mCursorY.load();
        DrawSoftwareCursor(mSecondarySurface, true);
        const HRESULT hr = mPrimarySurface->Flip(nullptr, DDFLIP_WAIT);
        // The flip copies, so the back buffer still shows the cursor; when the
        // back buffer is the screen image it must not keep it.
        if (mCursorAreaSaved)
            RestoreCursorArea(mSecondarySurface);
        return !CheckDXError("Redraw FullScreen Flip", hr);
    }
    const HRESULT hr = mPrimarySurface->Blt(&dest, mDrawSurface, &source, DDBLT_WAIT, &effects);
    return !CheckDXError("Redraw FullScreen Blt", hr);
}

void DDInterface::DrawSoftwareCursor(IDirectDrawSurface* target, bool onScreen)
{
    if (mCursorImage == nullptr || mPrimarySurface == nullptr) {
        mCursorAreaSaved = false;
        return;
    }
    DDSURFACEDESC primary;
    primary.dwSize = sizeof(primary);
    mPrimarySurface->GetSurfaceDesc(&primary);
    const Rect screen(0, 0, static_cast<int32_t>(primary.dwWidth), static_cast<int32_t>(primary.dwHeight));

    const Rect area = CursorArea();
    Rect visible = Rect::Intersection(area, mPresentationRect);
    const int offsetX = visible.x - area.x;
    const int offsetY = visible.y - area.y;
    if (onScreen) {
        const WinPoint origin = ClientOrigin();
        visible = Moved(visible, origin.x, origin.y);
    }
    RECT inArea = ToRECT(Rect(offsetX, offsetY, visible.width, visible.height));
    RECT inTarget = ToRECT(visible);

    DDBLTFX effects = NoEffects();
    if (mOldCursorArea->Blt(&inArea, target, &inTarget, DDBLT_WAIT, &effects) >= 0) {
        mCursorAreaSaved = true;
    } else {
        // Part of the area lies off the screen: save what is on it.
        const Rect onTheScreen = Rect::Intersection(visible, screen);
        inArea = ToRECT(Rect(offsetX + onTheScreen.x - visible.x, offsetY + onTheScreen.y - visible.y,
                             onTheScreen.width, onTheScreen.height));
        inTarget = ToRECT(onTheScreen);
        mCursorAreaSaved = mOldCursorArea->Blt(&inArea, target, &inTarget, DDBLT_WAIT, &effects) >= 0;
    }

    const int width = mCursorImage->mWidth;
    const int height = mCursorImage->mHeight;
    if (target == mDrawSurface && !mIs3D) {
        // Drawn straight into the screen image, cut to the area that is
        // restored afterwards, so that a large picture leaves no trace.
        Graphics g(mScreenImage);
        g.SetClipRect(Rect::Intersection(area, Rect(0, 0, mWidth, mHeight)));
        g.DrawImage(mCursorImage, area.x + (mCursorAreaWidth - width) / 2, area.y + (mCursorAreaHeight - height) / 2);
        return;
    }
    mNewCursorArea->Blt(&inArea, mOldCursorArea, &inArea, DDBLT_WAIT, &effects);
    Graphics g(mNewCursorAreaImage);
    g.SetClipRect(Rect(0, 0, mNewCursorAreaImage->mWidth, mNewCursorAreaImage->mHeight));
    g.DrawImage(mCursorImage, (mCursorAreaWidth - width) / 2, (mCursorAreaHeight - height) / 2);
    target->Blt(&inTarget, mNewCursorArea, &inArea, DDBLT_WAIT, &effects);
}

void DDInterface::RestoreCursorArea(IDirectDrawSurface* target)
{
    if (!mCursorAreaSaved || mPrimarySurface == nullptr)
        return;
    const Rect area = CursorArea();
    const Rect visible = Rect::Intersection(area, Rect(0, 0, mWidth, mHeight));
    RECT inArea = ToRECT(Rect(visible.x - area.x, visible.y - area.y, visible.width, visible.height));
    RECT inTarget = ToRECT(visible);
    DDBLTFX effects = NoEffects();
    target->Blt(&inTarget, mOldCursorArea, &inArea, DDBLT_WAIT, &effects);
    mCursorAreaSaved = false;
}

bool DDInterface::SetCursorImage(MemoryImage* image)
{
    CritSectLock lock(mCritSect);
    if (image == mCursorImage)
        return false;
    mCursorImage = image;
    return true;
}

void DDInterface::AddImage(DDImage* image)
{
    CritSectLock lock(mCritSect);
    mImageSet.insert(image);
}

void DDInterface::RemoveImage(DDImage* image)
{
    CritSectLock lock(mCritSect);
    mImageSet.erase(image);
}

} // namespace Tandry
