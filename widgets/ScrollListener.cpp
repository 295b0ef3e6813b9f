#include "widgets/ScrollListener.h"

namespace Tandry {

void ScrollListener::ScrollPosition(int /*id*/, double /*position*/) {}

} // namespace Tandry
