// The headless presenter: what the window would show, kept as 0xAARRGGBB words
// by the read-back rule (each channel's bits at the top of its byte, alpha 255),
// so that tests read the window's pixels, count the presented frames and copy
// the last one. Windowed, the window shows the primary's rectangle under its
// client area; in full screen, the whole primary. New surfaces are filled with
// 0xCD, so that a pixel nobody wrote stands out.
#pragma once

#include "platform/ddraw/WindowPresenter.h"

#include <cstdint>
#include <mutex>
#include <vector>

namespace Platform {

class HeadlessPresenter final : public WindowPresenter {
public:
    struct Frame {
        uint32_t width = 0;
        uint32_t height = 0;
        std::vector<uint32_t> pixels; // row by row
        uint32_t At(uint32_t x, uint32_t y) const { return pixels[size_t{y} * width + x]; }
    };

    explicit HeadlessPresenter(WindowSystem& windows) : WindowPresenter(windows) {}

    uint32_t GetMonitorFrequency(HWND window) override;
    uint8_t GetNewSurfaceFill() override { return 0xCD; }
    void Present(HWND window, bool fullScreen, const PresentedSurface& primary, const RECT& changed) override;

    // Presents that reached a window.
    uint32_t GetPresentCount() const;
    // A copy of what the window shows since the last present; empty before the first.
    Frame GetLastFrame() const;
    // One pixel of it in client coordinates; 0 outside the client area or before the first present.
    uint32_t GetWindowPixel(int32_t x, int32_t y) const;

private:
    mutable std::mutex mLock;
    Frame mFrame;
    uint32_t mPresents = 0;
};

} // namespace Platform
