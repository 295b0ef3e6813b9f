#include "platform/window/ProgramIcon.h"

#include <cmath>

namespace Platform {

std::vector<uint32_t> DrawProgramIcon()
{
    constexpr int n = kProgramIconSize;
    constexpr uint32_t kSky = 0xFF1B2A4Au;
    constexpr uint32_t kMoon = 0xFFF2E8B0u;
    constexpr uint32_t kFarHill = 0xFF3C5A3Cu;
    constexpr uint32_t kNearHill = 0xFF23381Fu;
    std::vector<uint32_t> pixels(n * n, kSky);
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            uint32_t& pixel = pixels[y * n + x];
            // Crescent: a disc with a second, offset disc cut out of it.
            double dx = x - 20.5, dy = y - 10.5;
            double cx = x - 23.5, cy = y - 8.5;
            if (dx * dx + dy * dy <= 49.0 && cx * cx + cy * cy > 36.0)
                pixel = kMoon;
            double far = 21.0 + 3.0 * std::sin(x * 0.25);
            double near = 25.0 + 2.5 * std::cos(x * 0.3 + 1.0);
            if (y >= far)
                pixel = kFarHill;
            if (y >= near)
                pixel = kNearHill;
            // Rounded corners of radius 4 are transparent.
            int rx = x < 4 ? 4 - x : (x > n - 5 ? x - (n - 5) : 0);
            int ry = y < 4 ? 4 - y : (y > n - 5 ? y - (n - 5) : 0);
            if (rx * rx + ry * ry > 16)
                pixel = 0;
        }
    }
    return pixels;
}

} // namespace Platform
