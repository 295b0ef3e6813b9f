#include "app/ScreenModeTester.h"

namespace Tandry {

ScreenModeTester::ScreenModeTester(const BoundCall<int(bool)>& call)
    : Dialog(kDialogId, false, std::wstring(), std::wstring(), std::wstring(), 0), mCall(call)
{
    mouseVisible = false;
}

int ScreenModeTester::ScreenModeChanged(bool windowed)
{
    return mCall(windowed);
}

} // namespace Tandry
