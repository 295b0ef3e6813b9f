// One stream of the BASS stand-in: a file in memory, its decoder and a
// streaming voice of the shared mixer. The game thread only changes its
// state; decoding runs in Feed, on the thread that renders, before each
// block and outside the mixer's lock. Its state is guarded by the mixer's
// lock; the decoder belongs to Feed alone.
#pragma once

#include "platform/dsound/SoundMixer.h"
#include "platform/music/BassTypes.h"
#include "platform/music/StreamDecoder.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace Platform {

class MusicStream {
public:
    // bytes must stay valid until the stream is destroyed: either the
    // caller's block or owned, which the stream keeps. Null when the bytes
    // cannot be decoded.
    static std::shared_ptr<MusicStream> Create(std::shared_ptr<SoundMixer> mixer, std::vector<uint8_t> owned,
                                               const uint8_t* bytes, size_t size, int32_t globalVolume);
    // A stream over a decoder the caller made (the FMOD stand-in's samples).
    static std::shared_ptr<MusicStream> Create(std::shared_ptr<SoundMixer> mixer,
                                               std::unique_ptr<StreamDecoder> decoder, int32_t globalVolume);
    ~MusicStream();
    MusicStream(const MusicStream&) = delete;
    MusicStream& operator=(const MusicStream&) = delete;

    // Game thread.
    void Play(bool restart);
    void Stop();
    void Pause();
    Bass::DWORD IsActive();
    void SetLooping(bool looping);
    // Where a looping stream goes on from at its end; 0 unless set.
    void SetLoopStart(uint64_t frame);
    // A byte position in the decoded 16-bit format; false past the end.
    bool SetPosition(uint64_t bytePosition);
    // -1, -1 and -101 leave a value as it is.
    void SetAttributes(int32_t frequency, int32_t volume, int32_t pan);
    // The global stream volume, 0..100.
    void SetGlobalVolume(int32_t volume);
    // Leaves the mixer at once; the stream is silent from then on.
    void Detach();

    // The rendering thread, before a block of frames at the output rate.
    void Feed(uint32_t frames);

private:
    // The decoded frames around the voice's cursor.
    struct Window : MixerSource {
        std::vector<int16_t> samples;
        uint32_t channels = 2;
        PcmView Pcm() const override
        {
            return {reinterpret_cast<const uint8_t*>(samples.data()),
                    static_cast<uint32_t>(samples.size() / channels), 16, static_cast<uint16_t>(channels)};
        }
    };
    enum class State { Stopped, Playing, Paused };

    MusicStream(std::shared_ptr<SoundMixer> mixer, std::vector<uint8_t> owned, std::unique_ptr<StreamDecoder> decoder);
    void Attach(int32_t globalVolume);
    // Decodes about count frames into mStaging, going round to loopStart at
    // the end when looping.
    void DecodeInto(uint64_t count, bool looping, uint64_t loopStart);
    void ApplyGainsLocked();
    void RequestSeekLocked(uint64_t frame);

    std::shared_ptr<SoundMixer> mMixer;
    std::vector<uint8_t> mOwned;
    std::unique_ptr<StreamDecoder> mDecoder;
    const uint32_t mChannels;
    const uint32_t mRate;

    // Feed only.
    bool mDecoderAtEnd = false;
    std::vector<int16_t> mStaging;

    // Under the mixer's lock.
    std::shared_ptr<Window> mWindow;
    MixerVoice mVoice;
    bool mAttached = false;
    State mState = State::Stopped;
    bool mEnded = false;
    bool mLooping = false;
    uint64_t mLoopStart = 0;
    std::optional<uint64_t> mSeekTo;
    uint64_t mSeekGeneration = 0;
    int32_t mVolume = 100;
    int32_t mPan = 0;
    int32_t mGlobalVolume = 100;
};

} // namespace Platform
