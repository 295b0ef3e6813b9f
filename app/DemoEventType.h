// The events of the demo stream and the bit widths of their fields. The
// recorder, the player, the fuzz target and the benchmark all spell the
// stream through these, so the layout is written down once.
#pragma once

namespace Tandry {

// Event types of non-mouse events (5 bits); the gaps are unused numbers.
enum DemoEventType : int {
    kDemoAbsoluteMouseMove = 0,
    kDemoActivateApp = 1,
    kDemoMinimise = 2,
    kDemoKeyDown = 3,
    kDemoKeyUp = 4,
    kDemoKeyChar = 5,
    kDemoCloseWindow = 6,
    kDemoMouseEnter = 7,
    kDemoMouseLeave = 8,
    kDemoLoadingDone = 9,
    kDemoRegistryRead = 11,
    kDemoRegistryWrite = 12,
    kDemoSyncBlock = 18,
    kDemoMouseWheel = 21,
    kDemoDisplayState = 23,
    kDemoPadding = 31,
};

// Sub-types of mouse events (1 bit).
enum DemoMouseEventType : int {
    kDemoRelativeMouseMove = 0,
    kDemoMouseButton = 1,
};

namespace DemoBits {
constexpr int kDelta = 4;
constexpr int kMaxDelta = 15;
constexpr int kMouseFlag = 1;
constexpr int kMouseSubType = 1;
constexpr int kType = 5;
constexpr int kRelativeMove = 6;
// A relative move covers differences strictly inside this bound.
constexpr int kRelativeLimit = 32;
constexpr int kClickCode = 3;
constexpr int kAbsoluteMove = 12;
constexpr int kAbsoluteMax = (1 << kAbsoluteMove) - 1;
constexpr int kKey = 8;
constexpr int kNarrowChar = 8;
constexpr int kWideChar = 16;
constexpr int kWheel = 8;
} // namespace DemoBits

} // namespace Tandry
