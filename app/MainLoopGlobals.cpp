#include "app/MainLoopGlobals.h"

namespace Tandry {

bool gIdleSuspended = false;
bool gRedrawFailed = false;
IdleCheckState gIdleCheck;
uint32_t gLastDisplayRecoveryTick = 0;
std::optional<uint32_t> gLastFastForwardRedrawTick;
std::optional<uint32_t> gLastMonitorPowerTick;

void ResetMainLoopGlobals()
{
    gIdleSuspended = false;
    gRedrawFailed = false;
    gIdleCheck = IdleCheckState();
    gLastDisplayRecoveryTick = 0;
    gLastFastForwardRedrawTick.reset();
    gLastMonitorPowerTick.reset();
}

} // namespace Tandry
