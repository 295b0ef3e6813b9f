// The one-line easing every shell widget uses: a fade level, a scale or a
// position moves towards its target by a fixed step per update, and the
// caller learns when it has arrived.
#pragma once

namespace Tandry {

// True, without change, when *value is already target; true when it was
// closer than step and now is target; otherwise it moves by step towards
// target and the answer is false, even when that lands on target (the next
// call then answers true).
bool MoveTowards(float* value, float step, float target);

} // namespace Tandry
