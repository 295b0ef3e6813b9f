// The DirectSound stand-in's device object: it records the cooperative level,
// makes the primary and secondary buffers and duplicates them. Our own class
// shaped after the calls the sound manager makes, not COM: AddRef and Release
// return the new count. DirectSoundCreate fails when the sound device cannot
// open, and the game then runs silent.
#pragma once

#include "platform/dsound/DirectSoundBuffer.h"
#include "platform/window/WindowTypes.h"

namespace Platform {

class DirectSound : public DSoundObject {
public:
    // level: DSSCL_NORMAL or DSSCL_PRIORITY.
    HRESULT SetCooperativeLevel(WindowHandle window, uint32_t level);
    // desc->size must be sizeof(DSoundBufferDesc). outer: null.
    HRESULT CreateSoundBuffer(const DSoundBufferDesc* desc, DirectSoundBuffer** out, void* outer);
    // The duplicate shares the source's PCM; it starts stopped at cursor 0
    // with the source's volume, pan and frequency.
    HRESULT DuplicateSoundBuffer(DirectSoundBuffer* source, DirectSoundBuffer** out);

    uint32_t GetCooperativeLevel();

private:
    friend HRESULT DirectSoundCreate(const void* device, DirectSound** out, void* outer);

    explicit DirectSound(std::shared_ptr<SoundMixer> mixer);
    ~DirectSound() override = default;

    HRESULT CheckSecondary(const DSoundBufferDesc& desc) const;

    std::shared_ptr<SoundMixer> mMixer;
    std::shared_ptr<uint32_t> mLevel; // guarded by the runtime's mutex; 0 until set
};

// device: null for the default device; outer: null.
HRESULT DirectSoundCreate(const void* device, DirectSound** out, void* outer);

} // namespace Platform
