// The keys that steer a demo while it plays back: speed, pause, single step,
// jumps back from the end of the recording or to a marker, and silence. The
// demo seam hands every typed character here; the two prompts ("Jump To
// Time", "Marker List") are the platform's text and choice prompts. Only the
// application's playback fields are set; the timing step acts on them.
#pragma once

#include "app/DemoMarker.h"

#include <cstdint>
#include <string>

namespace Tandry {

class TandryAppBase;

class DemoPlaybackControls {
public:
    static constexpr int kAnswered = 1;
    static constexpr int kCancelled = 2;
    static constexpr const char* kJumpTimeValue = "DemoJumpTime";

    explicit DemoPlaybackControls(TandryAppBase& app) : mApp(app) {}

    void HandleChar(wchar_t ch);
    // Silences music and sound effects, or gives back the volumes they had.
    void ToggleDemoSound();
    // kAnswered or kCancelled.
    int ShowJumpToTimeDialog();
    int ShowMarkerListDialog();

    // "h:m:s", "m:s" or "s": each piece read like atoi (held at the int
    // range), folded as s * 60 + piece and held far inside the 64-bit range,
    // so no text overflows.
    static int64_t ParseJumpSeconds(const std::string& text);
    // endUpdate - ms / frameTimeMs, clamped to the int range.
    static int UpdatesBeforeEnd(int endUpdate, int64_t ms, int frameTimeMs);
    // "name (hh:mm:ss)" with the time left from the marker to endUpdate.
    static std::string MarkerLine(const DemoMarker& marker, int endUpdate, int frameTimeMs);

private:
    std::string ReadStoredJumpTime() const;
    void StoreJumpTime(const std::string& text) const;
    // A target below the current update is no jump.
    void JumpTo(int target);

    TandryAppBase& mApp;
};

} // namespace Tandry
