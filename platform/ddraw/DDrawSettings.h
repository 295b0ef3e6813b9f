// The settings of the DirectDraw stand-in: the desktop's pixel format, the
// formats and depths of display modes, the monitor frequency, the padding at
// the end of each surface row, the byte new surfaces are filled with, and
// whether the "DirectDrawCreateEx" entry point exists. A default-made value is
// the reset state.
#pragma once

#include "platform/ddraw/DDrawPixelFormat.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace Platform {

struct DDrawSettings {
    // The desktop's size is the platform's screen size; its format is this.
    DDrawFormat desktopFormat = DDrawFormat::X8R8G8B8;
    // 16-bit display modes; 32-bit modes are always X8R8G8B8.
    DDrawFormat mode16Format = DDrawFormat::R5G6B5;
    std::vector<uint32_t> modeDepths{16, 32};
    // Answered by the headless presenter; the SDL one asks the display.
    uint32_t monitorFrequency = 60;
    // Bytes after each row, so that code stepping rows by the width shows its
    // fault. Rounded up to a multiple of 4 so that rows stay aligned.
    uint32_t pitchPadding = 16;
    // Every byte of a new surface other than a primary. Unset, the presenter
    // of the back end chooses: 0 under SDL, a visible 0xCD headless, so that
    // tests see every pixel nobody wrote.
    std::optional<uint8_t> fillByte;
    bool hasDirectDrawCreateEx = true;
};

} // namespace Platform
