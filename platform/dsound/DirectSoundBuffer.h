// A buffer of the DirectSound stand-in. The primary buffer only takes the
// device format (the device stays at 44100 Hz, 16 bits, stereo); a secondary
// buffer holds static PCM, shared with its duplicates, and plays it through
// its own voice of the mixer with its own cursor, volume, pan, frequency and
// state. The sound manager makes one per loaded sound and one duplicate per
// playing instance.
#pragma once

#include "platform/dsound/DSoundObject.h"
#include "platform/dsound/SoundMixer.h"
#include "platform/dsound/StaticPcm.h"

#include <memory>
#include <optional>

namespace Platform {

class DirectSoundBuffer : public DSoundObject {
public:
    // Primary only; needs the priority level.
    HRESULT SetFormat(const DSoundWaveFormat* format);
    // A range of bytes from offset; one that runs past the end wraps into the
    // second pair. DSBLOCK_ENTIREBUFFER gives the whole buffer as the first pair.
    HRESULT Lock(uint32_t offset, uint32_t bytes, void** part1, uint32_t* length1, void** part2, uint32_t* length2,
                 uint32_t flags);
    HRESULT Unlock(void* part1, uint32_t length1, void* part2, uint32_t length2);
    // Plays from the current cursor; flags 0 or DSBPLAY_LOOPING.
    HRESULT Play(uint32_t reserved, uint32_t priority, uint32_t flags);
    // Keeps the cursor.
    HRESULT Stop();
    HRESULT SetCurrentPosition(uint32_t bytes);
    HRESULT GetCurrentPosition(uint32_t* play, uint32_t* write);
    HRESULT GetStatus(uint32_t* status);
    HRESULT GetFrequency(uint32_t* frequency);
    HRESULT SetFrequency(uint32_t frequency);
    // Hundredths of a decibel, -10000 (silent) to 0.
    HRESULT GetVolume(int32_t* volume);
    HRESULT SetVolume(int32_t volume);
    // -10000 (left only) to 10000 (right only).
    HRESULT GetPan(int32_t* pan);
    HRESULT SetPan(int32_t pan);

    uint32_t GetFlags() const { return mFlags; }
    bool IsPrimary() const { return mPcm == nullptr; }
    // Secondary only: the format and size it was made with.
    DSoundWaveFormat GetFormat() const;
    uint32_t GetSize() const;

private:
    friend class DirectSound;

    DirectSoundBuffer(std::shared_ptr<SoundMixer> mixer, std::shared_ptr<uint32_t> level, uint32_t flags,
                      std::shared_ptr<StaticPcm> pcm);
    ~DirectSoundBuffer() override;

    // The voice's gains from the volume and pan; under the mixer's lock.
    void ApplyGainsLocked();
    HRESULT Control(uint32_t flag) const;
    // Volume and pan: read, or set within low..high, both under their control flag.
    HRESULT GetLevel(uint32_t control, int32_t* out, const int32_t& field);
    HRESULT SetLevel(DSoundOp op, uint32_t control, int32_t value, int32_t low, int32_t high, int32_t& field);

    std::shared_ptr<SoundMixer> mMixer;
    std::shared_ptr<uint32_t> mLevel; // the cooperative level of the object that made it
    uint32_t mFlags;
    std::shared_ptr<StaticPcm> mPcm; // null for the primary buffer
    MixerVoice mVoice;
    int32_t mVolume = 0;
    int32_t mPan = 0;
    std::optional<DSoundWaveFormat> mPrimaryFormat;
};

} // namespace Platform
