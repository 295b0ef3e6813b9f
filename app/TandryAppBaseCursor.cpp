// Which cursor is shown: a system cursor, the override handle, or an image
// that the display draws itself as its software cursor.
#include "app/TandryAppBase.h"

#include "graphics/display/DDInterface.h"
#include "platform/Platform.h"

#include <iterator>

namespace Tandry {

namespace {

// The kind that always uses its image when it has one, custom cursors or not.
constexpr int kAlwaysImageKind = 12;

// The system cursors of kinds 3 to 10.
constexpr uint32_t kSystemCursorOfKind[] = {Platform::IDC_IBEAM,    Platform::IDC_NO,       Platform::IDC_SIZEALL,
                                            Platform::IDC_SIZENESW, Platform::IDC_SIZENS,   Platform::IDC_SIZENWSE,
                                            Platform::IDC_SIZEWE,   Platform::IDC_WAIT};
constexpr int kFirstSystemKind = 3;
constexpr int kLastSystemKind = kFirstSystemKind + static_cast<int>(std::size(kSystemCursorOfKind)) - 1;

// The cursor of a kind without an image; null hides the cursor.
Platform::CursorHandle KindCursor(const TandryAppBase& app, int kind, Platform::CursorService& cursors)
{
    if (kind == 1)
        return app.mHandCursor;
    if (kind == 2)
        return app.mDragCursor;
    if (kind >= kFirstSystemKind && kind <= kLastSystemKind)
        return cursors.LoadSystemCursor(kSystemCursorOfKind[kind - kFirstSystemKind]);
    // Kind 11 hides the cursor, and so does kind 12 without its image.
    if (kind == 11 || kind == kAlwaysImageKind)
        return nullptr;
    return cursors.LoadSystemCursor(Platform::IDC_ARROW);
}

} // namespace

void TandryAppBase::ApplyCursor()
{
    if (mDDInterface == nullptr)
        return;
    Platform::ServiceBundle& platform = Platform::GetPlatform();
    Platform::CursorService& cursors = platform.GetCursors();

    Platform::CursorHandle cursor = nullptr;
    if (mWindowHidden || !mMouseInWindow) {
        cursor = cursors.LoadSystemCursor(Platform::IDC_ARROW);
    } else {
        // Widgets and the game set any int as the kind; only 0..12 have image slots.
        const bool hasSlot = mCursorKind >= 0 && mCursorKind < kCursorImageCount;
        MemoryImage* image = hasSlot ? mCursorImages[static_cast<size_t>(mCursorKind)] : nullptr;
        if (image != nullptr && (mPlayingDemo || mCustomCursorsEnabled || mCursorKind == kAlwaysImageKind)) {
            if (mDDInterface->SetCursorImage(image))
                mForceRedraw = true;
            Platform::CursorHandle shown = nullptr;
            if (mPlayingDemo) {
                // The real mouse does not steer a replay: say so while it is over the client area.
                shown = cursors.LoadSystemCursor(MouseOverClientArea() ? Platform::IDC_NO : Platform::IDC_ARROW);
            }
            cursors.SetCursor(shown);
            return;
        }
        cursor = mCursorHandle != nullptr ? mCursorHandle : KindCursor(*this, mCursorKind, cursors);
    }
    cursors.SetCursor(cursor);
    if (mDDInterface->SetCursorImage(nullptr))
        mForceRedraw = true;
}

bool TandryAppBase::MouseOverClientArea() const
{
    Platform::WindowSystem& windows = Platform::GetPlatform().GetWindows();
    Platform::WinPoint mouse;
    Platform::WinPoint origin;
    if (mMainWindow == nullptr || !windows.GetCursorPos(mouse) || !windows.ClientToScreen(mMainWindow, origin))
        return false;
    // In 64 bits: a window far off the desktop must not wrap the right edge around.
    const int64_t dx = int64_t{mouse.x} - origin.x;
    const int64_t dy = int64_t{mouse.y} - origin.y;
    return dx >= 0 && dy >= 0 && dx < mWidth && dy < mHeight;
}

} // namespace Tandry
