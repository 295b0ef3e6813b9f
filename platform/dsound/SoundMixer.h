// The one software mixer of the process: a table of voices, each playing a
// source of PCM frames with its own gains, rate, cursor and looping flag,
// summed into the sound device's stream. The DirectSound stand-in's buffers
// own its voices, and the music stand-ins add theirs. Clients share it through
// Acquire: the device opens with the first and closes with the last.
#pragma once

#include "platform/audio/AudioOutput.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace Platform {

// Frames of PCM as a voice reads them: 8-bit unsigned or 16-bit signed
// (host order), mono or stereo, interleaved.
struct PcmView {
    const uint8_t* data = nullptr;
    uint32_t frames = 0;
    uint16_t bitsPerSample = 16;
    uint16_t channels = 2;
};

// Where a voice's frames come from. A static source holds all of them; a
// stream keeps a window of decoded frames. Pcm is called under the mixer's
// lock, so it must not decode.
class MixerSource {
public:
    virtual ~MixerSource() = default;
    virtual PcmView Pcm() const = 0;
};

// Runs before each block is mixed, on the thread that renders, outside the
// voice-table lock: streams decode ahead of the mixer here.
class MixerFeeder {
public:
    virtual ~MixerFeeder() = default;
    // frames: the length of the block about to be mixed, at the output rate.
    virtual void Feed(uint32_t frames) = 0;
};

// The state of one voice. Read and written only under the mixer's lock.
struct MixerVoice {
    static constexpr int32_t kUnityGain = 1 << 15;

    std::shared_ptr<MixerSource> source;
    int32_t gainLeft = kUnityGain;  // Q15: kUnityGain passes samples unchanged
    int32_t gainRight = kUnityGain;
    uint32_t rate = AudioOutput::kRate;
    uint64_t position = 0; // frames, 32.32 fixed point
    bool looping = false;
    bool playing = false;
};

class SoundMixer : public AudioSource {
public:
    static constexpr uint32_t kBlockFrames = 1024;
    static constexpr uint32_t kFullSpeakerVolume = 65535;

    // The shared mixer, with the platform's sound device open; null with a
    // reason when the device cannot open.
    static std::shared_ptr<SoundMixer> Acquire(std::string& error);

    // A mixer on no device, for tests and benchmarks that pull frames themselves.
    SoundMixer() = default;
    ~SoundMixer() override;
    SoundMixer(const SoundMixer&) = delete;
    SoundMixer& operator=(const SoundMixer&) = delete;

    // Guards the voice table and every voice's state; held for one block of mixing.
    std::mutex& Mutex() { return mLock; }
    // Both under Mutex().
    void AttachLocked(MixerVoice* voice);
    void DetachLocked(MixerVoice* voice);

    // Feeders are called before each block; once RemoveFeeder returns, the
    // feeder is no longer called. Neither may be called from a feeder, nor
    // while holding a lock that a feeder takes.
    void AddFeeder(MixerFeeder* feeder);
    void RemoveFeeder(MixerFeeder* feeder);

    // Mixes the playing voices into frames × 2 samples, one block at a time.
    void Render(int16_t* samples, uint32_t frames) override;

    // The speaker volume of the system mixer stand-in, 0..65535, process-wide;
    // it scales the mixed output. 65535 leaves it unchanged.
    static uint32_t GetSpeakerVolume();
    static void SetSpeakerVolume(uint32_t volume);
    // Back to 65535; for tests.
    static void ResetSpeakerVolume();

private:
    void MixBlock(int16_t* samples, uint32_t frames);

    std::mutex mLock;
    std::vector<MixerVoice*> mVoices;
    std::mutex mFeedLock; // taken before mLock, held while the feeders run
    std::vector<MixerFeeder*> mFeeders;
    AudioOutput* mOutput = nullptr; // the device this mixer opened, closed with it
};

} // namespace Platform
