// How a widget ends itself: out of its parent now, deleted by the
// application after the current update. Backdrops and panels use it.
#pragma once

namespace Tandry {

class Widget;

void RemoveAndDeferDelete(Widget* widget);

} // namespace Tandry
