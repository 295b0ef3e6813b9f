#include "widgets/ControlSite.h"

#include "widgets/FlashWidget.h"

#include <algorithm>

namespace Tandry {
namespace {

// Far beyond any canvas, and small enough that unions and moves by a widget
// position cannot overflow.
constexpr int32_t kCoordinateLimit = 1 << 24;

Rect ToRect(const Platform::FlashRect& r)
{
    const auto clamp = [](int32_t v) { return std::clamp(v, -kCoordinateLimit, kCoordinateLimit); };
    const int32_t left = clamp(r.left);
    const int32_t top = clamp(r.top);
    return Rect(left, top, std::max(clamp(r.right) - left, 0), std::max(clamp(r.bottom) - top, 0));
}

} // namespace

void ControlSite::InvalidateRect(const Platform::FlashRect* rect)
{
    if (rect == nullptr) {
        InvalidateRgn();
        return;
    }
    const Rect area = ToRect(*rect);
    mWidget.dirtyRect = mWidget.canvasDirty ? Rect::Union(mWidget.dirtyRect, area) : area;
    mWidget.canvasDirty = true;
}

void ControlSite::InvalidateRgn()
{
    mWidget.dirtyRect = mWidget.GetRect();
    mWidget.canvasDirty = true;
}

Platform::FlashRect ControlSite::GetWindowContext()
{
    return FlashWidget::ToFlashRect(mWidget.GetRect());
}

} // namespace Tandry
