#include "widgets/DialogListener.h"

namespace Tandry {

void DialogListener::OnDialogButtonDown(int /*dialogId*/, int /*buttonId*/) {}
void DialogListener::OnDialogButtonClick(int /*dialogId*/, int /*buttonId*/) {}

} // namespace Tandry
