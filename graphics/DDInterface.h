// The display of the one game window: brings the screen up in a window or full
// screen, presents the drawn frame with the software cursor over it, and holds
// the display lock that also guards the application's image sets. The
// application owns one, made by its window creation and deleted at exit.
#pragma once

#include "app/util/CritSectLock.h"
#include "graphics/NativeDisplay.h"
#include "graphics/Rect.h"
#include "platform/window/WindowTypes.h"

#include <atomic>
#include <string>

namespace Tandry {

class D3DTester;
class DDImage;
class MemoryImage;
class TandryAppBase;

class DDInterface : public NativeDisplay {
public:
    explicit DDInterface(TandryAppBase* app);
    DDInterface(const DDInterface&) = delete;
    DDInterface& operator=(const DDInterface&) = delete;
    ~DDInterface() override;

    // A display result code: 0 success, else a failure whose reason is in mErrorText.
    virtual int Init(Platform::WindowHandle window, bool windowed);
    // dirty is the changed part of the logical screen, null for all of it.
    // False when nothing could be presented.
    virtual bool Redraw(Rect* dirty);
    // True when the image changed.
    bool SetCursorImage(MemoryImage* image);
    void SetScreenInVideoMemory(bool on);

    // The DirectDraw object exists from a successful Init until the display is torn down.
    bool HasDirectDraw() const { return mHasDirectDraw; }
    // Puts the desktop's own surface in front, so a system message box shows over full screen.
    void FlipToGDISurface();
    // Leaves the display's full-screen mode; the desktop's mode is never changed.
    void RestoreDisplayMode();
    bool IsFullScreenActive() const { return mFullScreenActive; }

    TandryAppBase* mApp;
    // Owned; made by the first Init that asks for a capability test.
    D3DTester* mD3DTester = nullptr;
    bool mIs3D = false;
    // The display lock; recursive, and it also guards the application's image sets.
    CriticalSection mCritSect;
    int mWidth = 0;
    int mHeight = 0;
    // Where in the display area the logical screen is shown.
    Rect mPresentationRect;
    unsigned int mRefreshRate = 60;
    int mMillisPerRefresh = 16;
    bool mInitialized = false;
    Platform::WindowHandle mHWnd = nullptr;
    bool mIsWindowed = true;
    // Owned image over the surface that drawing goes to.
    DDImage* mScreenImage = nullptr;
    bool mScreenInVideoMemory = false;
    // The cursor thread writes the position while the main thread presents.
    std::atomic<int> mCursorX{0};
    std::atomic<int> mCursorY{0};
    std::atomic<int> mCursorDrawnX{0};
    std::atomic<int> mCursorDrawnY{0};
    // The software cursor picture, not owned; null means none.
    MemoryImage* mCursorImage = nullptr;
    // The operation text, ": " and the DirectX name of the last failure.
    std::string mErrorText;

private:
    bool mHasDirectDraw = false;
    bool mFullScreenActive = false;
};

// A Direct3D scene failed to begin during the run and no later one began. The
// Direct3D layer sets it; the application asks about 3D at exit when it is
// set, and its update pass clears it.
extern bool gD3DSceneFailed;

} // namespace Tandry
