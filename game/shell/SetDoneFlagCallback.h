// A call target that only raises a flag: the hidden-object board binds it as
// the completion call of its animations and polls the flag in its update.
#pragma once

#include <cstdint>

namespace Tandry {

class SetDoneFlagCallback {
public:
    void SetDone() { done = 1; }

    uint8_t done = 0;
};

} // namespace Tandry
