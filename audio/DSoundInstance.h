// One playing copy of a sound of the DSoundManager: a duplicate of the id's
// buffer with its own volume, pan and pitch. Without sound output it has no
// buffer, and every operation is silent. The manager owns it.
#pragma once

#include "audio/SoundInstance.h"
#include "platform/dsound/DirectSoundBuffer.h"

#include <cstdint>

namespace Tandry {

class DSoundManager;

class DSoundInstance : public SoundInstance {
public:
    // source: the id's buffer, or null without sound output. A failed
    // duplication ends the program through the manager.
    DSoundInstance(DSoundManager* manager, Platform::DirectSoundBuffer* source);
    ~DSoundInstance() override;
    DSoundInstance(const DSoundInstance&) = delete;
    DSoundInstance& operator=(const DSoundInstance&) = delete;

    void Discard() override;
    void SetDefaultVolume(double volume) override;
    void SetDefaultPan(int pan) override;
    void ShiftPitch(double steps) override;
    void SetPlayVolume(double volume) override;
    void SetPlayPan(int pan) override;
    bool Play(bool looping, bool autoRelease) override;
    void Stop() override;
    bool IsPlaying() override;
    bool IsDiscarded() override;
    double GetPlayVolume() override;

    // Stop, with the auto-release flag kept, so a stopped auto-release
    // instance is still collected.
    void StopKeepingAutoRelease();
    // Re-applies the volume law after a change of the master volume.
    void ApplyVolume();
    // The id's buffer this instance was duplicated from (not owned).
    Platform::DirectSoundBuffer* GetSourceBuffer() const { return mSourceBuffer; }
    // The duplicate it plays, or null.
    Platform::DirectSoundBuffer* GetBuffer() const { return mBuffer; }

    // The laws, for tests. Volume: v limited to 0..1 (NaN as 0), then
    // (log10(9v + 1) - 1) x 2333 truncated, below -2000 silent.
    static int32_t VolumeToHundredths(double v);
    // base x 2^(steps / 12), limited to 100..100000, truncated.
    static uint32_t ShiftedFrequency(uint32_t base, double steps);

private:
    void ApplyPan();

    DSoundManager* mManager;
    Platform::DirectSoundBuffer* mSourceBuffer;
    Platform::DirectSoundBuffer* mBuffer = nullptr;
    bool mAutoRelease = false;
    bool mHasPlayed = false;
    bool mReleased = false;
    int mDefaultPan = 0;
    double mDefaultVolume = 1.0;
    int mPlayPan = 0;
    double mPlayVolume = 1.0;
    uint32_t mBaseFrequency = 44100;
};

} // namespace Tandry
