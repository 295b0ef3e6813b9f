// The filter in front of the window procedure while the program runs as a
// screen saver: user activity ends the program, and the system commands that
// would disturb a screen saver are swallowed. There is no password check here:
// activity closes the screen saver at once.
#pragma once

#include "platform/window/WindowTypes.h"

#include <cstdint>

namespace Tandry {

// True when the message was handled; the window procedure then returns result.
bool ScreensaverFilter(Platform::WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam,
                       intptr_t& result);

// Back to watching, for tests.
void ResetScreensaverFilter();

} // namespace Tandry
