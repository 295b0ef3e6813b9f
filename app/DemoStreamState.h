// The fields the demo stream is read and written through: the stream itself,
// the update of the last header, the pending header and the last mouse
// position. The application keeps them as its own fields, which the main loop
// reads; DemoStreamState points at them, so the codec and the player work on
// the application's fields or, in tests, the fuzz target and the benchmark, on
// a DemoStreamFields of their own.
#pragma once

#include "util/Buffer.h"

#include <atomic>

namespace Tandry {

struct DemoStreamState {
    Buffer& buffer;
    // The update count of the last header written or read.
    int& nextEventUpdate;
    bool& needHeader;
    bool& eventIsMouse;
    int& eventType;
    // Diagnostics only: headers so far and the read position of the current one.
    int& eventIndex;
    int& eventBitPos;
    // The cursor thread reads the replayed position.
    std::atomic<int>& mouseX;
    std::atomic<int>& mouseY;
};

// The same fields owned, for a stream used without an application object.
struct DemoStreamFields {
    Buffer buffer;
    int nextEventUpdate = 0;
    bool needHeader = true;
    bool eventIsMouse = false;
    int eventType = 0;
    int eventIndex = -1;
    int eventBitPos = 0;
    std::atomic<int> mouseX{0};
    std::atomic<int> mouseY{0};

    DemoStreamState State()
    {
        return {buffer, nextEventUpdate, needHeader, eventIsMouse, eventType, eventIndex, eventBitPos, mouseX, mouseY};
    }
};

} // namespace Tandry
