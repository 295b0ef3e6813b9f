// The SDL sound device: SDL's audio subsystem starts on the first Open, and
// the device asks for exactly the output format (SDL converts when the
// hardware differs) with a buffer of 1024 frames; SDL's audio thread pulls
// the frames from the source. Opening fails when no device opens.
#pragma once

#include "platform/audio/AudioOutput.h"

#include <cstdint>

namespace Platform {

class SdlAudioOutput : public AudioOutput {
public:
    SdlAudioOutput() = default;
    ~SdlAudioOutput() override;
    SdlAudioOutput(const SdlAudioOutput&) = delete;
    SdlAudioOutput& operator=(const SdlAudioOutput&) = delete;

    bool Open(AudioSource& source, std::string& error) override;
    void Close() override;
    bool IsOpen() override { return mDevice != 0; }

private:
    static void Callback(void* self, uint8_t* stream, int length);

    AudioSource* mSource = nullptr;
    uint32_t mDevice = 0;
    bool mSubsystemStarted = false;
};

} // namespace Platform
