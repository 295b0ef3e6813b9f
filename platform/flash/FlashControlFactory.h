// Where FlashWidget gets its control. Both back ends play the project's movie
// files (MovieFileControl) unless a test installs another factory; the reset
// brings that default back.
#pragma once

#include "platform/flash/FlashControl.h"

#include <functional>
#include <memory>

namespace Platform {

using FlashControlFactory = std::function<std::unique_ptr<FlashControl>()>;

// A new control from the installed factory; null when the factory makes none.
std::unique_ptr<FlashControl> CreateFlashControl();
// Empty: the default.
void SetFlashControlFactory(FlashControlFactory factory);
void ResetFlashControlFactory();

} // namespace Platform
