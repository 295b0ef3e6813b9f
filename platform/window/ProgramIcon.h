// The program's window icon (the icon resource of the main window class),
// drawn in code: a pale crescent moon over dark moorland hills on a night
// sky, 32 x 32 pixels of 0xAARRGGBB with transparent rounded corners.
#pragma once

#include <cstdint>
#include <vector>

namespace Platform {

constexpr int kProgramIconSize = 32;

// Rows top to bottom, kProgramIconSize pixels each.
std::vector<uint32_t> DrawProgramIcon();

} // namespace Platform
