#include "platform/dsound/DirectSound.h"

#include <new>

namespace Platform {

HRESULT DirectSoundCreate(const void* /*device*/, DirectSound** out, void* outer)
{
    return DSoundRuntime::Get().RunLogged(DSoundCall::Of(DSoundOp::DirectSoundCreate), [&]() -> HRESULT {
        if (out == nullptr || outer != nullptr)
            return DSERR_INVALIDPARAM;
        *out = nullptr;
        std::string error;
        std::shared_ptr<SoundMixer> mixer = SoundMixer::Acquire(error);
        if (mixer == nullptr)
            return DSERR_NODRIVER;
        *out = new DirectSound(std::move(mixer));
        return DS_OK;
    });
}

DirectSound::DirectSound(std::shared_ptr<SoundMixer> mixer)
    : DSoundObject(DSoundObjectKind::DirectSound)
    , mMixer(std::move(mixer))
    , mLevel(std::make_shared<uint32_t>(0))
{
}

uint32_t DirectSound::GetCooperativeLevel()
{
    std::lock_guard hold(DSoundRuntime::Get().Mutex());
    return *mLevel;
}

HRESULT DirectSound::SetCooperativeLevel(WindowHandle /*window*/, uint32_t level)
{
    return DSoundRuntime::Get().RunLogged(DSoundCall::Of(DSoundOp::SetCooperativeLevel, level), [&]() -> HRESULT {
        if (level != DSSCL_NORMAL && level != DSSCL_PRIORITY)
            return DSERR_INVALIDPARAM;
        *mLevel = level;
        return DS_OK;
    });
}

HRESULT DirectSound::CheckSecondary(const DSoundBufferDesc& desc) const
{
    const DSoundWaveFormat* format = desc.format;
    if (format == nullptr)
        return DSERR_INVALIDPARAM;
    if (format->formatTag != WAVE_FORMAT_PCM || (format->channels != 1 && format->channels != 2)
        || (format->bitsPerSample != 8 && format->bitsPerSample != 16) || format->samplesPerSec < DSBFREQUENCY_MIN
        || format->samplesPerSec > DSBFREQUENCY_MAX
        || format->blockAlign != format->channels * format->bitsPerSample / 8
        || format->avgBytesPerSec != format->samplesPerSec * format->blockAlign)
        return DSERR_BADFORMAT;
    if (desc.bufferBytes < 4 || desc.bufferBytes > DSoundRuntime::Get().SettingsLocked().maxBufferBytes)
        return DSERR_INVALIDPARAM;
    return DS_OK;
}

HRESULT DirectSound::CreateSoundBuffer(const DSoundBufferDesc* desc, DirectSoundBuffer** out, void* outer)
{
    DSoundCall call = DSoundCall::Of(DSoundOp::CreateSoundBuffer);
    if (desc != nullptr) {
        call.value = desc->flags;
        if (desc->format != nullptr)
            call.format = *desc->format;
    }
    return DSoundRuntime::Get().RunLogged(call, [&]() -> HRESULT {
        if (desc == nullptr || out == nullptr || outer != nullptr || desc->size != sizeof(DSoundBufferDesc))
            return DSERR_INVALIDPARAM;
        *out = nullptr;
        if ((desc->flags & DSBCAPS_PRIMARYBUFFER) != 0) {
            if (desc->bufferBytes != 0 || desc->format != nullptr)
                return DSERR_INVALIDPARAM;
            *out = new DirectSoundBuffer(mMixer, mLevel, desc->flags, nullptr);
            return DS_OK;
        }
        if (HRESULT result = CheckSecondary(*desc); result != DS_OK)
            return result;
        std::shared_ptr<StaticPcm> pcm;
        try {
            pcm = std::make_shared<StaticPcm>(*desc->format, desc->bufferBytes);
        } catch (const std::bad_alloc&) {
            return DSERR_OUTOFMEMORY;
        }
        *out = new DirectSoundBuffer(mMixer, mLevel, desc->flags, std::move(pcm));
        return DS_OK;
    });
}

HRESULT DirectSound::DuplicateSoundBuffer(DirectSoundBuffer* source, DirectSoundBuffer** out)
{
    return DSoundRuntime::Get().RunLogged(DSoundCall::Of(DSoundOp::DuplicateSoundBuffer), [&]() -> HRESULT {
        if (source == nullptr || out == nullptr)
            return DSERR_INVALIDPARAM;
        *out = nullptr;
        if (source->mPcm == nullptr)
            return DSERR_INVALIDCALL;
        auto* duplicate = new DirectSoundBuffer(source->mMixer, mLevel, source->mFlags, source->mPcm);
        std::lock_guard hold(source->mMixer->Mutex());
        duplicate->mVolume = source->mVolume;
        duplicate->mPan = source->mPan;
        duplicate->mVoice.rate = source->mVoice.rate;
        duplicate->ApplyGainsLocked();
        *out = duplicate;
        return DS_OK;
    });
}

} // namespace Platform
