#include "platform/headless/HeadlessPresenter.h"

#include "platform/ddraw/DDrawPixelFormat.h"
#include "platform/ddraw/DDrawRuntime.h"

#include <algorithm>
#include <cstring>

namespace Platform {
namespace {

bool IsEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

RECT Union(const RECT& a, const RECT& b)
{
    if (IsEmpty(a))
        return b;
    return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
}

// The same bytes on screen mean the same words: the bit count and the three colour masks.
bool SameLayout(const DDPIXELFORMAT& a, const DDPIXELFORMAT& b)
{
    return a.dwRGBBitCount == b.dwRGBBitCount && a.dwRBitMask == b.dwRBitMask && a.dwGBitMask == b.dwGBitMask &&
           a.dwBBitMask == b.dwBBitMask;
}

} // namespace

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
        mPending = RECT{};
        mPictureWhole = false;
        mFrameBlank = true;
    }
    if (!ArgbReadback::CanRead(primary.format))
        return;
    const RECT visible = VisiblePart(shown, changed, primary);
    if (IsEmpty(visible))
        return;
    if (!mReadback || !SameLayout(mPictureFormat, primary.format)) {
        // What the old format still shows becomes words before its bytes go.
        ConvertPending();
        mPictureFormat = primary.format;
        mPictureBytes = BytesPerPixel(primary.format);
        mReadback = std::make_unique<ArgbReadback>(primary.format);
        mPictureWhole = false;
    }
    const RECT inWindow{visible.left - shown.left, visible.top - shown.top, visible.right - shown.left,
                        visible.bottom - shown.top};
    const bool coversWindow = inWindow.left == 0 && inWindow.top == 0 &&
                              static_cast<uint32_t>(inWindow.right) == width &&
                              static_cast<uint32_t>(inWindow.bottom) == height;
    if (!mPictureWhole && (mFrameBlank || coversWindow)) {
        // Zero bytes read back as black in every format, as a blank frame is.
        mPicture.assign(size_t{width} * height * mPictureBytes, 0);
        mPictureWhole = true;
    }
    mFrameBlank = false;
    if (!mPictureWhole) {
        uint32_t* to = mFrame.pixels.data() + int64_t{inWindow.top} * width + inWindow.left;
        mReadback->ConvertRect(primary, visible, to, width);
        return;
    }
    const size_t rowBytes = size_t(visible.right - visible.left) * mPictureBytes;
    const size_t pitch = size_t{width} * mPictureBytes;
    for (int32_t y = visible.top; y < visible.bottom; ++y)
        std::memcpy(mPicture.data() + size_t(y - shown.top) * pitch + size_t(inWindow.left) * mPictureBytes,
                    primary.pixels + int64_t{y} * primary.pitch + int64_t{visible.left} * mPictureBytes, rowBytes);
    mPending = Union(mPending, inWindow);
}

void HeadlessPresenter::ConvertPending() const
{
    if (IsEmpty(mPending) || !mPictureWhole)
        return;
    PresentedSurface picture;
    picture.pixels = mPicture.data();
    picture.pitch = static_cast<int32_t>(mFrame.width * mPictureBytes);
    picture.width = mFrame.width;
    picture.height = mFrame.height;
    picture.format = mPictureFormat;
    uint32_t* to = mFrame.pixels.data() + int64_t{mPending.top} * mFrame.width + mPending.left;
    mReadback->ConvertRect(picture, mPending, to, mFrame.width);
    mPending = RECT{};
}

uint32_t HeadlessPresenter::GetPresentCount() const
{
    std::lock_guard hold(mLock);
    return mPresents;
}

HeadlessPresenter::Frame HeadlessPresenter::GetLastFrame() const
{
    std::lock_guard hold(mLock);
    ConvertPending();
    return mFrame;
}

uint32_t HeadlessPresenter::GetWindowPixel(int32_t x, int32_t y) const
{
    std::lock_guard hold(mLock);
    if (x < 0 || y < 0 || static_cast<uint32_t>(x) >= mFrame.width || static_cast<uint32_t>(y) >= mFrame.height)
        return 0;
    ConvertPending();
    return mFrame.At(static_cast<uint32_t>(x), static_cast<uint32_t>(y));
}

} // namespace Platform
