// The settings of the DirectDraw and Direct3D stand-ins: the desktop's pixel
// format, the formats and depths of display modes, the monitor frequency, the
// padding at the end of each surface row, the byte new surfaces are filled
// with, whether the "DirectDrawCreateEx" entry point exists, whether Direct3D
// exists and what its device reports, the adapter's identity and the video
// memory, and whether calls are logged. A default-made value is the reset
// state.
#pragma once

#include "platform/ddraw/DDrawPixelFormat.h"

#include <cstdint>
#include <optional>
#include <string>
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

    // Absent, the DirectDraw object answers IID_IDirect3D7 with E_NOINTERFACE.
    bool hasDirect3D = true;
    // What the device's GetCaps reports. A texture surface beyond a maximum
    // above 0 is refused.
    uint32_t minTextureWidth = 1;
    uint32_t minTextureHeight = 1;
    uint32_t maxTextureWidth = 1024;
    uint32_t maxTextureHeight = 1024;
    uint32_t maxTextureAspectRatio = 1024;
    bool alphaPaletteCap = true; // D3DPTEXTURECAPS_ALPHAPALETTE
    // The texture formats the device offers, in this order.
    std::vector<DDPIXELFORMAT> textureFormats = DefaultTextureFormats();

    // GetDeviceIdentifier. Unset, the driver is the program file's absolute path.
    std::optional<std::string> driverName;
    std::string deviceDescription = "Software 3D device";
    DEVICEGUID deviceGuid{0x6D6F6F72, 0x676C, 0x656E, {0x73, 0x6F, 0x66, 0x74, 0x33, 0x64, 0x00, 0x01}};
    // GetAvailableVidMem, in bytes.
    uint32_t videoMemoryTotal = 256u << 20;
    uint32_t videoMemoryFree = 192u << 20;

    // Tests read the call log; a running game or a benchmark turns it off, so
    // that no call pays for a record nobody reads.
    bool logCalls = true;
};

} // namespace Platform
