#include "graphics/image/AnimInfo.h"

#include <climits>
#include <cstddef>
#include <cstdint>

namespace Tandry {
namespace {

int ClampToInt(int64_t value)
{
    return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

} // namespace

void AnimInfo::Setup(int n, int beginDelay, int endDelay)
{
    celCount = n > 0 ? n : 1;
    if (frameDelay <= 0)
        frameDelay = 1;
    if (type == PingPong && celCount > 1) {
        frameOrder.clear();
        for (int i = 0; i < celCount; ++i)
            frameOrder.push_back(i);
        for (int i = celCount - 2; i >= 1; --i)
            frameOrder.push_back(i);
    }
    if (!frameOrder.empty())
        celCount = static_cast<int>(frameOrder.size() > INT_MAX ? INT_MAX : frameOrder.size());
    if (beginDelay > 0) {
        if (frameDelays.empty())
            frameDelays.resize(1);
        frameDelays[0] = beginDelay;
    }
    if (endDelay > 0) {
        const size_t last = static_cast<size_t>(celCount) - 1;
        if (frameDelays.size() < last + 1)
            frameDelays.resize(last + 1);
        frameDelays[last] = endDelay;
    }
    if (frameDelays.empty()) {
        totalTime = ClampToInt(int64_t{celCount} * frameDelay);
        return;
    }
    frameDelays.resize(static_cast<size_t>(celCount));
    int64_t total = 0;
    for (int& delay : frameDelays) {
        if (delay < 1)
            delay = frameDelay;
        total += delay;
    }
    totalTime = ClampToInt(total);
}

} // namespace Tandry
