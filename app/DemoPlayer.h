// Plays the demo stream back: the events of each update go to a sink, and the
// values recorded synchronously (registry reads and writes, blocks, the
// display state at start-up) go to the operation that asks for them at the
// same point of the played run. The stream is outside data: every count is
// checked against what is left, every synchronous consumer checks that the
// pending event is its own, and on a mismatch the playback ends instead of
// reading another event's bytes.
#pragma once

#include "app/DemoEventCodec.h"
#include "app/DemoReplaySink.h"

#include <cstdint>
#include <string>

namespace Tandry {

class DemoPlayer {
public:
    DemoPlayer(const DemoStreamState& state, DemoReplaySink& sink) : mCodec(state), mSink(sink) {}

    // Replays every event stamped with updateCount, until the next one is
    // for a later update, the stream ends or the application shuts down.
    void ReplayUpdate(int updateCount);

    // On entry length is the size of data. A recorded value larger than that
    // fails the read and writes nothing; its bytes are passed over.
    bool ReplayRegistryRead(int updateCount, uint32_t& type, uint8_t* data, uint32_t& length);
    // The recorded outcome; true once the playback has ended.
    bool ReplayRegistryWrite(int updateCount);
    // Replaces the block with the recorded bytes; unchanged when it fails.
    bool ReplaySyncBlock(int updateCount, Buffer& block);
    // Hands the recorded display state to the sink.
    bool ReplayDisplayState(int updateCount);

    bool Ended() const { return mEnded; }
    // Marks the stream exhausted at updateCount and tells the sink why.
    void End(int updateCount, const std::string& reason);

private:
    // Acts on the event whose header was just read; false when the playback ended.
    bool ReplayEvent(int updateCount);
    bool ReplayMouseEvent();
    // Passes over the payload of a synchronous event the played run did not ask for.
    bool SkipSynchronous(int updateCount, int type);
    // Reads the pending header and checks it is the consumer's own.
    bool BeginSynchronous(int updateCount, int type, const char* what);
    // A byte count from the stream, checked against what is left.
    bool ReadCount(int updateCount, const char* what, uint32_t& count);

    DemoEventCodec mCodec;
    DemoReplaySink& mSink;
    bool mEnded = false;
};

} // namespace Tandry
