// The fade the modal layers share (the dimming backdrop and the pop-in
// panels): a level moves towards its target by a fixed step per update, the
// widget is redrawn while it changes, and once the level rests at 0 and the
// owner allows it, the widget leaves its parent and is deleted after the
// update, exactly once.
#pragma once

namespace Tandry {

class Widget;

// 34 updates for a whole fade.
inline constexpr float kModalFadeStep = 0.03f;

// Does nothing once *ended is set; sets it when the widget is handed over.
void StepModalFade(Widget* widget, float* level, float target, bool mayEnd, bool* ended);

} // namespace Tandry
