// The process-wide state of the main loop, the draw pass and the window
// procedure that lives outside the application object: idle suspension, the
// failed-presentation flag, the idle check's cached screen-saver settings and
// the ticks that rate-limit recovery, fast-forward drawing and the screen-saver
// grace period. Main thread only; tests put it back with ResetMainLoopGlobals.
#pragma once

#include <cstdint>
#include <optional>

namespace Tandry {

// Updates and drawing are suspended while the system screen saver is due or runs.
extern bool gIdleSuspended;
// The last presentation failed; draw passes retry the presentation instead of drawing.
extern bool gRedrawFailed;

struct IdleCheckState {
    uint32_t lastCheckTick = 0;
    uint32_t lastSettingsTick = 0;
    uint32_t timeoutMs = 60000;
    bool screenSaverEnabled = true;
};
extern IdleCheckState gIdleCheck;

extern uint32_t gLastDisplayRecoveryTick;
// Empty until the first fast-forward step notes the time.
extern std::optional<uint32_t> gLastFastForwardRedrawTick;
// Empty until the window procedure sees a monitor power request.
extern std::optional<uint32_t> gLastMonitorPowerTick;

void ResetMainLoopGlobals();

} // namespace Tandry
