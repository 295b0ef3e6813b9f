#include "app/DemoPlayer.h"

#include "app/DemoEventType.h"
#include "util/Format.h"

#include <algorithm>
#include <climits>
#include <vector>

namespace Tandry {

namespace {

int SignedBits(Buffer& in, int n)
{
    return static_cast<int>(static_cast<int32_t>(in.GetBits(n, true)));
}

int AddClamped(int a, int b)
{
    return static_cast<int>(std::clamp<int64_t>(static_cast<int64_t>(a) + b, INT_MIN, INT_MAX));
}

std::string EventName(bool mouse, int type)
{
    if (mouse)
        return type == kDemoRelativeMouseMove ? "a mouse move" : "a mouse button";
    switch (type) {
    case kDemoAbsoluteMouseMove:
        return "a mouse move";
    case kDemoActivateApp:
        return "an activation";
    case kDemoMinimise:
        return "a minimise";
    case kDemoKeyDown:
        return "a key press";
    case kDemoKeyUp:
        return "a key release";
    case kDemoKeyChar:
        return "a character";
    case kDemoCloseWindow:
        return "a close";
    case kDemoMouseEnter:
        return "the mouse entering";
    case kDemoMouseLeave:
        return "the mouse leaving";
    case kDemoLoadingDone:
        return "the end of loading";
    case kDemoRegistryRead:
        return "a registry read";
    case kDemoRegistryWrite:
        return "a registry write";
    case kDemoSyncBlock:
        return "a block of data";
    case kDemoMouseWheel:
        return "a wheel turn";
    case kDemoDisplayState:
        return "the display state";
    case kDemoPadding:
        return "a pause";
    default:
        return FormatString("an event of unknown type %d", type);
    }
}

} // namespace

void DemoPlayer::End(int updateCount, const std::string& reason)
{
    mCodec.SkipToEnd();
    const DemoStreamState& state = mCodec.State();
    state.needHeader = true;
    state.nextEventUpdate = updateCount;
    mEnded = true;
    mSink.PlaybackEnded(FormatString("Demo playback stopped at update %d: %s.", updateCount, reason.c_str()));
}

void DemoPlayer::ReplayUpdate(int updateCount)
{
    const DemoStreamState& state = mCodec.State();
    while (!mEnded) {
        // A header read earlier for this update is replayed even when it was
        // the last bits of the stream.
        if (state.needHeader && !mCodec.HeaderAvailable()) {
            mCodec.SkipToEnd();
            return;
        }
        if (!mCodec.ReadHeader(updateCount))
            return;
        state.needHeader = true;
        if (!ReplayEvent(updateCount) || mSink.ShuttingDown())
            return;
    }
}

bool DemoPlayer::ReplayEvent(int updateCount)
{
    const DemoStreamState& state = mCodec.State();
    if (state.eventIsMouse)
        return ReplayMouseEvent();
    Buffer& in = state.buffer;
    switch (state.eventType) {
    case kDemoAbsoluteMouseMove: {
        state.mouseX = static_cast<int>(in.GetBits(DemoBits::kAbsoluteMove, false));
        state.mouseY = static_cast<int>(in.GetBits(DemoBits::kAbsoluteMove, false));
        mSink.MouseMove(state.mouseX, state.mouseY);
        break;
    }
    case kDemoActivateApp:
        mSink.Activate(in.GetBits(1, false) != 0);
        break;
    case kDemoMinimise:
        mSink.Minimise(in.GetBool());
        break;
    case kDemoKeyDown:
        mSink.KeyDown(static_cast<int>(in.GetBits(DemoBits::kKey, false)));
        break;
    case kDemoKeyUp:
        mSink.KeyUp(static_cast<int>(in.GetBits(DemoBits::kKey, false)));
        break;
    case kDemoKeyChar: {
        const bool wide = in.GetBits(1, false) != 0;
        mSink.KeyChar(static_cast<wchar_t>(in.GetBits(wide ? DemoBits::kWideChar : DemoBits::kNarrowChar, false)));
        break;
    }
    case kDemoCloseWindow:
        mSink.Close();
        break;
    case kDemoMouseEnter:
        mSink.MouseEnter();
        break;
    case kDemoMouseLeave:
        mSink.MouseLeave();
        break;
    case kDemoLoadingDone:
        mSink.LoadingDone();
        break;
    case kDemoMouseWheel:
        mSink.Wheel(SignedBits(in, DemoBits::kWheel));
        break;
    case kDemoDisplayState: {
        const bool windowed = in.GetBool();
        mSink.DisplayState(windowed, in.GetByte());
        break;
    }
    case kDemoRegistryRead:
    case kDemoRegistryWrite:
    case kDemoSyncBlock:
        return SkipSynchronous(updateCount, state.eventType);
    default:
        // Padding and the unused types carry nothing.
        break;
    }
    return true;
}

bool DemoPlayer::ReplayMouseEvent()
{
    const DemoStreamState& state = mCodec.State();
    Buffer& in = state.buffer;
    if (state.eventType == kDemoRelativeMouseMove) {
        const int dx = SignedBits(in, DemoBits::kRelativeMove);
        const int dy = SignedBits(in, DemoBits::kRelativeMove);
        state.mouseX = AddClamped(state.mouseX, dx);
        state.mouseY = AddClamped(state.mouseY, dy);
        mSink.MouseMove(state.mouseX, state.mouseY);
    } else {
        const bool down = in.GetBits(1, false) != 0;
        const int clickCode = SignedBits(in, DemoBits::kClickCode);
        if (down)
            mSink.MouseDown(state.mouseX, state.mouseY, clickCode);
        else
            mSink.MouseUp(state.mouseX, state.mouseY, clickCode);
    }
    return true;
}

bool DemoPlayer::ReadCount(int updateCount, const char* what, uint32_t& count)
{
    count = mCodec.State().buffer.GetLong();
    if (count <= mCodec.BytesLeft())
        return true;
    End(updateCount, FormatString("%s claims %u bytes, more than the recording holds", what, count));
    return false;
}

bool DemoPlayer::SkipSynchronous(int updateCount, int type)
{
    // Left over from a call the played run does not make here, such as a
    // display recovery: passed over whole, so the next event is read from
    // its own header.
    Buffer& in = mCodec.State().buffer;
    uint32_t count = 0;
    switch (type) {
    case kDemoRegistryRead:
        if (in.GetBits(1, false) == 0)
            return true;
        in.GetLong();
        if (!ReadCount(updateCount, "a registry read", count))
            return false;
        break;
    case kDemoRegistryWrite:
        in.GetBits(1, false);
        return true;
    default:
        if (!ReadCount(updateCount, "a block of data", count))
            return false;
        break;
    }
    mCodec.SkipBytes(count);
    return true;
}

bool DemoPlayer::BeginSynchronous(int updateCount, int type, const char* what)
{
    if (mEnded)
        return false;
    const DemoStreamState& state = mCodec.State();
    if (state.needHeader && !mCodec.HeaderAvailable()) {
        End(updateCount, FormatString("the run asks for %s after the end of the recording", what));
        return false;
    }
    mCodec.ReadHeader(updateCount);
    if (state.eventIsMouse || state.eventType != type) {
        End(updateCount, FormatString("the run asks for %s where the recording holds %s", what,
                                      EventName(state.eventIsMouse, state.eventType).c_str()));
        return false;
    }
    state.needHeader = true;
    return true;
}

bool DemoPlayer::ReplayRegistryRead(int updateCount, uint32_t& type, uint8_t* data, uint32_t& length)
{
    if (!BeginSynchronous(updateCount, kDemoRegistryRead, "a registry read"))
        return false;
    Buffer& in = mCodec.State().buffer;
    if (in.GetBits(1, false) == 0)
        return false;
    const uint32_t recordedType = in.GetLong();
    uint32_t count = 0;
    if (!ReadCount(updateCount, "a registry read", count))
        return false;
    if (count > length || (count > 0 && data == nullptr)) {
        // Still consumed, so the events after it stay in step.
        mCodec.SkipBytes(count);
        return false;
    }
    if (count > 0)
        in.GetBytes(data, static_cast<int>(count));
    type = recordedType;
    length = count;
    return true;
}

bool DemoPlayer::ReplayRegistryWrite(int updateCount)
{
    // Once the playback has ended, writes succeed as they do after the close.
    if (!BeginSynchronous(updateCount, kDemoRegistryWrite, "a registry write"))
        return true;
    return mCodec.State().buffer.GetBits(1, false) != 0;
}

bool DemoPlayer::ReplaySyncBlock(int updateCount, Buffer& block)
{
    uint32_t count = 0;
    if (!BeginSynchronous(updateCount, kDemoSyncBlock, "a block of data") ||
        !ReadCount(updateCount, "a block of data", count))
        return false;
    // Bounded by the stream, so never more than the file's size.
    std::vector<uint8_t> bytes(count);
    if (count > 0)
        mCodec.State().buffer.GetBytes(bytes.data(), static_cast<int>(count));
    block.Clear();
    if (count > 0)
        block.PutBytes(bytes.data(), static_cast<int>(count));
    return true;
}

bool DemoPlayer::ReplayDisplayState(int updateCount)
{
    if (!BeginSynchronous(updateCount, kDemoDisplayState, "the display state"))
        return false;
    Buffer& in = mCodec.State().buffer;
    const bool windowed = in.GetBool();
    mSink.DisplayState(windowed, in.GetByte());
    return true;
}

} // namespace Tandry
