// Where the application meets demo recording and playback. The application
// decides whether a demo is recorded or played and whether it has finished;
// the seam reads and writes the demo file and the event stream in the
// application's demo fields. Every place that records or replays calls one of
// these operations, so recording and playback plug in here without new call
// sites.
#pragma once

#include "platform/window/WindowTypes.h"

#include <cstdint>
#include <string>

namespace Tandry {

class Buffer;

class DemoSeam {
public:
    virtual ~DemoSeam() = default;

    // The demo file. Reading may replace the random seed with the recorded one.
    virtual bool ReadDemoFile(std::string& error) = 0;
    virtual void WriteDemoFile() = 0;

    // Synchronous values, recorded and replayed where the same call happens.
    // Start-up consumes the display state recorded after the window was made.
    virtual void ReplayDisplayState() = 0;
    virtual void RecordDisplayState() = 0;
    virtual void RecordRegistryRead(bool success, uint32_t type, const uint8_t* data, uint32_t length) = 0;
    // On entry length holds the size of data; the seam never writes past it,
    // and a recorded value that does not fit fails the read.
    virtual bool ReplayRegistryRead(uint32_t& type, uint8_t* data, uint32_t& length) = 0;
    virtual void RecordRegistryWrite(bool success) = 0;
    virtual bool ReplayRegistryWrite() = 0;
    virtual void RecordSyncBlock(const Buffer& block) = 0;
    // Replaces the block with the recorded bytes.
    virtual void ReplaySyncBlock(Buffer& block) = 0;

    // The input of the current update, fed to the widget manager while playing.
    virtual void ReplayInput() = 0;

    // Input recorded by the window procedure and the main loop.
    virtual void RecordKeyDown(int virtualKey) = 0;
    virtual void RecordKeyUp(int virtualKey) = 0;
    virtual void RecordKeyChar(wchar_t ch) = 0;
    virtual void RecordActivate(bool active) = 0;
    virtual void RecordMinimise(bool minimised) = 0;
    virtual void RecordClose() = 0;
    virtual void RecordWheel(int notches) = 0;
    // On the logical screen, as playback hands positions to the widget manager;
    // the recorder chooses between relative and absolute moves.
    virtual void RecordMousePosition(int x, int y) = 0;
    // clickCode: 1 / 2 left single / double, -1 / -2 right, 3 middle.
    virtual void RecordMouseButton(bool down, int clickCode) = 0;
    virtual void RecordMouseEnter() = 0;
    virtual void RecordMouseLeave() = 0;
    virtual void RecordLoadingDone() = 0;

    // A character typed while a demo plays: the playback controls.
    virtual void HandlePlaybackChar(wchar_t ch) = 0;
};

} // namespace Tandry
