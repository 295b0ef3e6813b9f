#include "graphics/DDInterface.h"

#include "graphics/D3DTester.h"
#include "graphics/DisplayResult.h"

namespace Tandry {

bool gD3DSceneFailed = false;

DDInterface::DDInterface(TandryAppBase* app) : mApp(app)
{
    // TODO: the Direct3D back end and the DirectDraw entry points come with the display.
}

DDInterface::~DDInterface()
{
    // TODO: releasing the surfaces and the image set comes with the display.
    delete mD3DTester;
}

int DDInterface::Init(Platform::WindowHandle window, bool windowed)
{
    CritSectLock lock(mCritSect);
    // TODO: DirectDraw, the capability test, the display mode, the surfaces and the cursor areas come with the display.
    mHWnd = window;
    mIsWindowed = windowed;
    SetPixelFormat(32, 0xFF0000, 0xFF00, 0xFF);
    mPresentationRect = Rect(0, 0, mWidth, mHeight);
    mHasDirectDraw = true;
    mFullScreenActive = !windowed;
    mErrorText.clear();
    mInitialized = true;
    return RESULT_OK;
}

bool DDInterface::Redraw(Rect* /*dirty*/)
{
    CritSectLock lock(mCritSect);
    // TODO: presenting the draw surface with the software cursor comes with the display.
    mCursorDrawnX = mCursorX.load();
    mCursorDrawnY = mCursorY.load();
    return mInitialized;
}

bool DDInterface::SetCursorImage(MemoryImage* image)
{
    CritSectLock lock(mCritSect);
    if (image == mCursorImage)
        return false;
    mCursorImage = image;
    return true;
}

void DDInterface::SetScreenInVideoMemory(bool on)
{
    CritSectLock lock(mCritSect);
    // TODO: moving the screen image to a video-memory surface comes with the display.
    mScreenInVideoMemory = on;
}

void DDInterface::FlipToGDISurface()
{
    // TODO: flipping to the desktop's surface comes with the display.
}

void DDInterface::RestoreDisplayMode()
{
    // TODO: leaving the exclusive full-screen mode through DirectDraw comes with the display.
    mFullScreenActive = false;
}

} // namespace Tandry
