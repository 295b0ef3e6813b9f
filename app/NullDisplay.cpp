#include "app/NullDisplay.h"

#include "app/TandryAppBase.h"
#include "graphics/display/DisplayResult.h"

namespace Tandry {

NullDisplay::NullDisplay(TandryAppBase* app) : mApp(app)
{
    mRefreshRate = kRefreshRate;
    mMillisPerRefresh = kMillisPerRefresh;
}

int NullDisplay::Init(Platform::WindowHandle window, bool windowed)
{
    CritSectLock lock(mCritSect);
    mHWnd = window;
    mIsWindowed = windowed;
    mWidth = mApp->mWidth;
    mHeight = mApp->mHeight;
    mPresentationRect = Rect(0, 0, mWidth, mHeight);
    mErrorText.clear();
    mInitialized = true;
    return RESULT_OK;
}

bool NullDisplay::Redraw(Rect* /*dirty*/)
{
    return true;
}

} // namespace Tandry
