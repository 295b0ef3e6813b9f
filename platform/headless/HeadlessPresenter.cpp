#include "platform/headless/HeadlessPresenter.h"

#include "platform/ddraw/ArgbReadback.h"
#include "platform/ddraw/DDrawRuntime.h"

namespace Platform {

uint32_t HeadlessPresenter::GetMonitorFrequency(HWND) { return DDrawRuntime::Get().GetSettings().monitorFrequency; }

void HeadlessPresenter::Present(HWND window, bool fullScreen, const PresentedSurface& primary, const RECT& changed)
{
    RECT shown;
    if (!GetShownRect(window, fullScreen, primary, shown))
        return;
    Windows().SetClientPresented(window, true);
    std::lock_guard hold(mLock);
    ++mPresents;
    const auto width = static_cast<uint32_t>(shown.Width());
    const auto height = static_cast<uint32_t>(shown.Height());
    if (mFrame.width != width || mFrame.height != height) {
        // A new size starts black: parts beyond the primary show nothing.
        mFrame.width = width;
        mFrame.height = height;
        mFrame.pixels.assign(size_t{width} * height, 0xFF000000u);
    }
    if (!ArgbReadback::CanRead(primary.format))
        return;
    const RECT visible = VisiblePart(shown, changed, primary);
    if (visible.right <= visible.left)
        return;
    uint32_t* to = mFrame.pixels.data() + int64_t{visible.top - shown.top} * width + (visible.left - shown.left);
    ArgbReadback(primary.format).ConvertRect(primary, visible, to, width);
}

uint32_t HeadlessPresenter::GetPresentCount() const
{
    std::lock_guard hold(mLock);
    return mPresents;
}

HeadlessPresenter::Frame HeadlessPresenter::GetLastFrame() const
{
    std::lock_guard hold(mLock);
    return mFrame;
}

uint32_t HeadlessPresenter::GetWindowPixel(int32_t x, int32_t y) const
{
    std::lock_guard hold(mLock);
    if (x < 0 || y < 0 || static_cast<uint32_t>(x) >= mFrame.width || static_cast<uint32_t>(y) >= mFrame.height)
        return 0;
    return mFrame.At(static_cast<uint32_t>(x), static_cast<uint32_t>(y));
}

} // namespace Platform
