#include "app/DemoEventCodec.h"

#include "app/DemoEventType.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace Tandry {

namespace {

int SaturatingAdd(int a, int64_t b)
{
    return static_cast<int>(std::clamp<int64_t>(static_cast<int64_t>(a) + b, INT_MIN, INT_MAX));
}

} // namespace

void DemoEventCodec::WriteHeader(int updateCount)
{
    Buffer& out = mState.buffer;
    // The count never runs backwards while recording; if it did, the event
    // goes with the last header rather than a wrapped delta.
    int64_t gap = std::max<int64_t>(static_cast<int64_t>(updateCount) - mState.nextEventUpdate, 0);
    while (gap > DemoBits::kMaxDelta) {
        out.PutBits(DemoBits::kMaxDelta, DemoBits::kDelta);
        out.PutBits(0, DemoBits::kMouseFlag);
        out.PutBits(kDemoPadding, DemoBits::kType);
        mState.nextEventUpdate = SaturatingAdd(mState.nextEventUpdate, DemoBits::kMaxDelta);
        mState.eventIndex = SaturatingAdd(mState.eventIndex, 1);
        gap -= DemoBits::kMaxDelta;
    }
    out.PutBits(static_cast<uint32_t>(gap), DemoBits::kDelta);
    mState.nextEventUpdate = std::max(updateCount, mState.nextEventUpdate);
    mState.eventIndex = SaturatingAdd(mState.eventIndex, 1);
}

void DemoEventCodec::WriteEventStart(int updateCount, int type)
{
    WriteHeader(updateCount);
    mState.buffer.PutBits(0, DemoBits::kMouseFlag);
    mState.buffer.PutBits(static_cast<uint32_t>(type), DemoBits::kType);
}

void DemoEventCodec::WriteMouseEventStart(int updateCount, int subType)
{
    WriteHeader(updateCount);
    mState.buffer.PutBits(1, DemoBits::kMouseFlag);
    mState.buffer.PutBits(static_cast<uint32_t>(subType), DemoBits::kMouseSubType);
}

void DemoEventCodec::WriteMousePosition(int updateCount, int x, int y)
{
    const int64_t dx = static_cast<int64_t>(x) - mState.mouseX;
    const int64_t dy = static_cast<int64_t>(y) - mState.mouseY;
    if (dx == 0 && dy == 0)
        return;
    Buffer& out = mState.buffer;
    if (std::abs(dx) < DemoBits::kRelativeLimit && std::abs(dy) < DemoBits::kRelativeLimit) {
        WriteMouseEventStart(updateCount, kDemoRelativeMouseMove);
        out.PutBits(static_cast<uint32_t>(dx), DemoBits::kRelativeMove);
        out.PutBits(static_cast<uint32_t>(dy), DemoBits::kRelativeMove);
    } else {
        // A captured drag leaves the screen. Cutting the bits would land the
        // replay on the far side; clamped, the relative moves that follow
        // carry the negative positions exactly and bring it back.
        x = std::clamp(x, 0, DemoBits::kAbsoluteMax);
        y = std::clamp(y, 0, DemoBits::kAbsoluteMax);
        WriteEventStart(updateCount, kDemoAbsoluteMouseMove);
        out.PutBits(static_cast<uint32_t>(x), DemoBits::kAbsoluteMove);
        out.PutBits(static_cast<uint32_t>(y), DemoBits::kAbsoluteMove);
    }
    mState.mouseX = x;
    mState.mouseY = y;
}

void DemoEventCodec::WriteMouseButton(int updateCount, bool down, int clickCode)
{
    WriteMouseEventStart(updateCount, kDemoMouseButton);
    mState.buffer.PutBits(down ? 1 : 0, 1);
    mState.buffer.PutBits(static_cast<uint32_t>(clickCode), DemoBits::kClickCode);
}

void DemoEventCodec::WriteKey(int updateCount, int type, int key)
{
    WriteEventStart(updateCount, type);
    mState.buffer.PutBits(static_cast<uint32_t>(key), DemoBits::kKey);
}

void DemoEventCodec::WriteKeyChar(int updateCount, wchar_t ch)
{
    WriteEventStart(updateCount, kDemoKeyChar);
    mState.buffer.PutBits(1, 1);
    mState.buffer.PutBits(static_cast<uint32_t>(ch), DemoBits::kWideChar);
}

void DemoEventCodec::WriteWheel(int updateCount, int notches)
{
    WriteEventStart(updateCount, kDemoMouseWheel);
    mState.buffer.PutBits(static_cast<uint32_t>(notches), DemoBits::kWheel);
}

void DemoEventCodec::WriteActivate(int updateCount, bool active)
{
    WriteEventStart(updateCount, kDemoActivateApp);
    mState.buffer.PutBits(active ? 1 : 0, 1);
}

void DemoEventCodec::WriteMinimise(int updateCount, bool minimised)
{
    WriteEventStart(updateCount, kDemoMinimise);
    mState.buffer.PutBool(minimised);
}

void DemoEventCodec::WriteBare(int updateCount, int type)
{
    WriteEventStart(updateCount, type);
}

void DemoEventCodec::WriteRegistryRead(int updateCount, bool success, uint32_t type, const uint8_t* data,
                                       uint32_t length)
{
    WriteEventStart(updateCount, kDemoRegistryRead);
    Buffer& out = mState.buffer;
    out.PutBits(success ? 1 : 0, 1);
    if (!success)
        return;
    out.PutLong(type);
    out.PutLong(length);
    // A query for the size alone has no bytes; zeros keep the stream whole.
    for (uint32_t i = 0; i < length; ++i)
        out.PutByte(data != nullptr ? data[i] : 0);
}

void DemoEventCodec::WriteRegistryWrite(int updateCount, bool success)
{
    WriteEventStart(updateCount, kDemoRegistryWrite);
    mState.buffer.PutBits(success ? 1 : 0, 1);
}

void DemoEventCodec::WriteSyncBlock(int updateCount, const Buffer& block)
{
    WriteEventStart(updateCount, kDemoSyncBlock);
    const int size = block.GetByteSize();
    mState.buffer.PutLong(static_cast<uint32_t>(size));
    if (size > 0)
        mState.buffer.PutBytes(block.GetData(), size);
}

void DemoEventCodec::WriteDisplayState(int updateCount, bool windowed, int refreshRate)
{
    WriteEventStart(updateCount, kDemoDisplayState);
    mState.buffer.PutBool(windowed);
    mState.buffer.PutByte(static_cast<uint8_t>(refreshRate));
}

bool DemoEventCodec::HeaderAvailable()
{
    Buffer& in = mState.buffer;
    const int start = in.GetReadBitPos();
    const int64_t left = static_cast<int64_t>(in.GetDataBitSize()) - start;
    constexpr int kMouseHeader = DemoBits::kDelta + DemoBits::kMouseFlag + DemoBits::kMouseSubType;
    constexpr int kOtherHeader = DemoBits::kDelta + DemoBits::kMouseFlag + DemoBits::kType;
    if (left < kMouseHeader)
        return false;
    in.GetBits(DemoBits::kDelta, false);
    const bool mouse = in.GetBits(DemoBits::kMouseFlag, false) != 0;
    in.SetReadBitPos(start);
    return left >= (mouse ? kMouseHeader : kOtherHeader);
}

bool DemoEventCodec::ReadHeader(int updateCount)
{
    if (mState.needHeader) {
        Buffer& in = mState.buffer;
        mState.eventBitPos = in.GetReadBitPos();
        mState.nextEventUpdate = SaturatingAdd(mState.nextEventUpdate, in.GetBits(DemoBits::kDelta, false));
        mState.eventIsMouse = in.GetBits(DemoBits::kMouseFlag, false) != 0;
        mState.eventType =
            static_cast<int>(in.GetBits(mState.eventIsMouse ? DemoBits::kMouseSubType : DemoBits::kType, false));
        mState.eventIndex = SaturatingAdd(mState.eventIndex, 1);
        mState.needHeader = false;
    }
    return updateCount == mState.nextEventUpdate;
}

uint32_t DemoEventCodec::BytesLeft() const
{
    const int64_t bits = static_cast<int64_t>(mState.buffer.GetDataBitSize()) - mState.buffer.GetReadBitPos();
    return bits > 0 ? static_cast<uint32_t>(bits / 8) : 0;
}

void DemoEventCodec::SkipBytes(uint32_t n)
{
    const int64_t target = static_cast<int64_t>(mState.buffer.GetReadBitPos()) + static_cast<int64_t>(n) * 8;
    mState.buffer.SetReadBitPos(static_cast<int>(std::min<int64_t>(target, mState.buffer.GetDataBitSize())));
}

void DemoEventCodec::SkipToEnd()
{
    mState.buffer.SetReadBitPos(mState.buffer.GetDataBitSize());
}

} // namespace Tandry
