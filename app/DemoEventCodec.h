// Writes the events of the demo stream and reads their headers: the update
// delta with its Padding events, the mouse flag and the type. The recorder
// writes every event through here; the player reads headers through here and
// the payloads itself. The writers clamp what the field widths cannot carry,
// as the live input path does before the widgets see it.
#pragma once

#include "app/DemoStreamState.h"

#include <cstdint>

namespace Tandry {

class DemoEventCodec {
public:
    explicit DemoEventCodec(const DemoStreamState& state) : mState(state) {}

    // The delta from the last header to updateCount, preceded by a Padding
    // event for every 15 updates beyond what one delta holds.
    void WriteHeader(int updateCount);
    // Header, mouse flag 0 and type; the caller writes the payload.
    void WriteEventStart(int updateCount, int type);
    // Header, mouse flag 1 and sub-type.
    void WriteMouseEventStart(int updateCount, int subType);

    // A move to (x, y): relative when both differences are within the
    // 6-bit range, nothing when there is none, else absolute with x and y
    // clamped to 0..4095. The last position becomes what was written.
    void WriteMousePosition(int updateCount, int x, int y);
    void WriteMouseButton(int updateCount, bool down, int clickCode);
    // KeyDown or KeyUp with the low 8 bits of the key.
    void WriteKey(int updateCount, int type, int key);
    // Always the wide form.
    void WriteKeyChar(int updateCount, wchar_t ch);
    // Signed 8 bits.
    void WriteWheel(int updateCount, int notches);
    void WriteActivate(int updateCount, bool active);
    void WriteMinimise(int updateCount, bool minimised);
    // A type without payload: close, mouse enter and leave, loading done.
    void WriteBare(int updateCount, int type);
    void WriteRegistryRead(int updateCount, bool success, uint32_t type, const uint8_t* data, uint32_t length);
    void WriteRegistryWrite(int updateCount, bool success);
    void WriteSyncBlock(int updateCount, const Buffer& block);
    void WriteDisplayState(int updateCount, bool windowed, int refreshRate);

    // Whether a whole header is left: fewer bits are the zero padding of the
    // last byte, never an event.
    bool HeaderAvailable();
    // Reads the next header when none is pending; whether it is for updateCount.
    bool ReadHeader(int updateCount);
    // Whole bytes between the read position and the end of the stream.
    uint32_t BytesLeft() const;
    // Moves the read position over n bytes; n is at most BytesLeft().
    void SkipBytes(uint32_t n);
    void SkipToEnd();

    const DemoStreamState& State() const { return mState; }

private:
    DemoStreamState mState;
};

} // namespace Tandry
