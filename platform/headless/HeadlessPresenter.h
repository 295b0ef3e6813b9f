// The headless presenter: what the window would show, read as 0xAARRGGBB words
// by the read-back rule (each channel's bits at the top of its byte, alpha 255),
// so that tests read the window's pixels, count the presented frames and copy
// the last one. Windowed, the window shows the primary's rectangle under its
// client area; in full screen, the whole primary. New surfaces are filled with
// 0xCD, so that a pixel nobody wrote stands out.
#pragma once

#include "platform/ddraw/ArgbReadback.h"
#include "platform/ddraw/WindowPresenter.h"

#include <cstdint>
#include <memory>
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
    // Brings the words up to date with what was presented since they were last read.
    void ConvertPending() const;

    // Presents only copy the primary's bytes, so that a frame costs one pass
    // whatever the display's format; the words are made when someone reads
    // them. While mPictureWhole holds, mPicture has every pixel of the window
    // in mPictureFormat and mFrame is right outside mPending. After a format
    // change with part of the old picture still showing, presents convert
    // straight into mFrame until one covers the whole window again.
    mutable std::mutex mLock;
    mutable Frame mFrame;
    mutable RECT mPending{}; // window coordinates; empty when the words are current
    std::vector<uint8_t> mPicture;
    DDPIXELFORMAT mPictureFormat{};
    uint32_t mPictureBytes = 0;
    bool mPictureWhole = false;
    bool mFrameBlank = false; // black since the last size change, which any format's zero bytes show too
    std::unique_ptr<ArgbReadback> mReadback;
    uint32_t mPresents = 0;
};

} // namespace Platform
