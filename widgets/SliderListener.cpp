#include "widgets/SliderListener.h"

namespace Tandry {

void SliderListener::SliderValueChanged(int /*id*/, double /*value*/) {}

} // namespace Tandry
