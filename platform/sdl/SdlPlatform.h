// The SDL2 back end: a real window, input, cursors, clipboard and message
// boxes through SDL, and the system services of the platform layer (real
// clock, /proc process, XDG folders, the registry file, the socket
// single-instance channel). The program's main picks a back end from
// GetBackendTable() with the hint of MOORGLEN_PLATFORM.
#pragma once

#include "platform/PlatformBootstrap.h"

#include <span>

namespace Platform {

extern const PlatformBootstrap kSdlBootstrap;

// SDL first, headless second.
std::span<const PlatformBootstrap* const> GetBackendTable();

} // namespace Platform
