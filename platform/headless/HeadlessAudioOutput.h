// The headless sound device: no thread. In the pulled mode (the default)
// nothing moves until a test calls Render; in the clock-driven mode each move
// of the headless clock renders the matching frames (44.1 per millisecond,
// the rest kept) into a capture, so the sounds of a headless run end in
// virtual time. A setting makes opening fail, for the silent paths.
#pragma once

#include "platform/audio/AudioOutput.h"
#include "platform/headless/HeadlessClock.h"

#include <mutex>
#include <vector>

namespace Platform {

class HeadlessAudioOutput : public AudioOutput {
public:
    enum class Mode { Pulled, ClockDriven };

    explicit HeadlessAudioOutput(HeadlessClock& clock);
    ~HeadlessAudioOutput() override;

    bool Open(AudioSource& source, std::string& error) override;
    void Close() override;
    bool IsOpen() override;

    void SetMode(Mode mode);
    // When set, opening fails with "no sound device".
    void SetDeviceMissing(bool missing);
    // Pulls frames from the source: frames × 2 interleaved samples, silence
    // while the device is closed.
    std::vector<int16_t> Render(uint32_t frames);
    // What the clock-driven mode rendered since the last take, interleaved.
    std::vector<int16_t> TakeCapture();

private:
    void OnClockAdvanced(uint32_t milliseconds);

    HeadlessClock& mClock;
    std::mutex mLock;
    AudioSource* mSource = nullptr;
    Mode mMode = Mode::Pulled;
    bool mMissing = false;
    // Tenths of a frame not yet rendered by the clock-driven mode.
    uint64_t mPendingTenths = 0;
    std::vector<int16_t> mCapture;
};

} // namespace Platform
