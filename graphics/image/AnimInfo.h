// The animation record the resource loader attaches to an image: how the cels
// of a sprite sheet play in time. An image owns at most one, copies it with
// itself and deletes it with itself; filling it in belongs to the loader.
#pragma once

#include <vector>

namespace Tandry {

struct AnimInfo {
    enum Type { None = 0, Once = 1, PingPong = 2, Loop = 3 };

    int type = None;
    // Time of a frame that frameDelays has no entry for.
    int frameDelay = 1;
    int celCount = 1;
    // Per-frame times by frame index.
    std::vector<int> frameDelays;
    // Cel shown at each frame; empty means frame i shows cel i.
    std::vector<int> frameOrder;
    // Sum of the frame times.
    int totalTime = 0;

    // Completes the record once the manifest gave type, frame delay and the
    // lists: the cel count (n below 1 counts as 1), a ping-pong frame order,
    // the begin and end delays (used when above 0) and the total time,
    // which stops at the int range.
    void Setup(int n, int beginDelay, int endDelay);
};

} // namespace Tandry
