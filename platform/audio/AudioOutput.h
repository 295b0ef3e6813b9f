// The sound device: one stream of frames at a fixed format (44100 Hz, signed
// 16-bit, stereo, interleaved) pulled from one source. The software mixer of
// platform/dsound/ opens it with its first client and closes it with its last.
// Back ends: SDL (a real device, pulled by SDL's audio thread) and headless
// (pulled by the test, or by the virtual clock).
#pragma once

#include <cstdint>
#include <string>

namespace Platform {

// What the device pulls its frames from. Render may run on the device's own
// thread; it fills frames × 2 interleaved samples.
class AudioSource {
public:
    virtual ~AudioSource() = default;
    virtual void Render(int16_t* samples, uint32_t frames) = 0;
};

class AudioOutput {
public:
    static constexpr uint32_t kRate = 44100;
    static constexpr uint32_t kChannels = 2;

    virtual ~AudioOutput() = default;

    // Starts pulling from source; false with a reason when no device opens or
    // one is open already.
    virtual bool Open(AudioSource& source, std::string& error) = 0;
    // Stops pulling; when it returns, the source is no longer called.
    virtual void Close() = 0;
    virtual bool IsOpen() = 0;
};

// The output of a platform without sound: opening always fails.
class NoAudioOutput : public AudioOutput {
public:
    bool Open(AudioSource& source, std::string& error) override;
    void Close() override {}
    bool IsOpen() override { return false; }

    static NoAudioOutput& Shared();
};

} // namespace Platform
