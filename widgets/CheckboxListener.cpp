#include "widgets/CheckboxListener.h"

namespace Tandry {

void CheckboxListener::CheckboxChecked(int /*id*/, bool /*checked*/) {}

} // namespace Tandry
