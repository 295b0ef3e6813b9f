#include "widgets/Widget.h"

namespace Tandry {

void Widget::Resize(int newX, int newY, int newWidth, int newHeight)
{
    if (x == newX && y == newY && width == newWidth && height == newHeight)
        return;
    // TODO: marking the old area dirty and the manager's mouse recheck come with the widget tree.
    x = newX;
    y = newY;
    width = newWidth;
    height = newHeight;
    dirty = true;
}

} // namespace Tandry
