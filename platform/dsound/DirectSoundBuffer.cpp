#include "platform/dsound/DirectSoundBuffer.h"

#include <algorithm>
#include <cmath>

namespace Platform {
namespace {

// A level in hundredths of a decibel as a factor; -10000 and below are silent.
double DecibelFactor(int32_t hundredths)
{
    return hundredths <= DSBVOLUME_MIN ? 0.0 : std::pow(10.0, hundredths / 2000.0);
}

int32_t ToGain(double factor)
{
    return static_cast<int32_t>(std::lround(factor * MixerVoice::kUnityGain));
}

bool Inside(const void* pointer, uint32_t length, const uint8_t* begin, uint32_t size)
{
    const auto* p = static_cast<const uint8_t*>(pointer);
    return p >= begin && p <= begin + size && length <= static_cast<uint32_t>(begin + size - p);
}

} // namespace

DirectSoundBuffer::DirectSoundBuffer(std::shared_ptr<SoundMixer> mixer, std::shared_ptr<uint32_t> level,
                                     uint32_t flags, std::shared_ptr<StaticPcm> pcm)
    : DSoundObject(DSoundObjectKind::Buffer)
    , mMixer(std::move(mixer))
    , mLevel(std::move(level))
    , mFlags(flags)
    , mPcm(std::move(pcm))
{
    if (mPcm == nullptr)
        return;
    mVoice.source = mPcm;
    mVoice.rate = mPcm->Format().samplesPerSec;
    std::lock_guard hold(mMixer->Mutex());
    mMixer->AttachLocked(&mVoice);
}

DirectSoundBuffer::~DirectSoundBuffer()
{
    if (mPcm == nullptr)
        return;
    std::lock_guard hold(mMixer->Mutex());
    mMixer->DetachLocked(&mVoice);
}

DSoundWaveFormat DirectSoundBuffer::GetFormat() const
{
    return mPcm ? mPcm->Format() : DSoundWaveFormat{};
}

uint32_t DirectSoundBuffer::GetSize() const
{
    return mPcm ? mPcm->Size() : 0;
}

HRESULT DirectSoundBuffer::Control(uint32_t flag) const
{
    if (mPcm == nullptr)
        return DSERR_INVALIDCALL;
    return (mFlags & flag) != 0 ? DS_OK : DSERR_CONTROLUNAVAIL;
}

void DirectSoundBuffer::ApplyGainsLocked()
{
    const double volume = DecibelFactor(mVolume);
    const double left = mPan > 0 ? DecibelFactor(-mPan) : 1.0;
    const double right = mPan < 0 ? DecibelFactor(mPan) : 1.0;
    mVoice.gainLeft = ToGain(volume * left);
    mVoice.gainRight = ToGain(volume * right);
}

HRESULT DirectSoundBuffer::SetFormat(const DSoundWaveFormat* format)
{
    DSoundCall call = DSoundCall::Of(DSoundOp::SetFormat);
    if (format != nullptr)
        call.format = *format;
    return DSoundRuntime::Get().RunLogged(call, [&]() -> HRESULT {
        if (mPcm != nullptr)
            return DSERR_INVALIDCALL;
        if (format == nullptr)
            return DSERR_INVALIDPARAM;
        if (*mLevel < DSSCL_PRIORITY)
            return DSERR_PRIOLEVELNEEDED;
        if (format->formatTag != WAVE_FORMAT_PCM)
            return DSERR_BADFORMAT;
        mPrimaryFormat = *format;
        return DS_OK;
    });
}

HRESULT DirectSoundBuffer::Lock(uint32_t offset, uint32_t bytes, void** part1, uint32_t* length1, void** part2,
                                uint32_t* length2, uint32_t flags)
{
    return DSoundRuntime::Get().RunLogged(DSoundCall::Of(DSoundOp::Lock, bytes), [&]() -> HRESULT {
        if (mPcm == nullptr)
            return DSERR_INVALIDCALL;
        if (part1 == nullptr || length1 == nullptr)
            return DSERR_INVALIDPARAM;
        const uint32_t size = mPcm->Size();
        if ((flags & DSBLOCK_ENTIREBUFFER) != 0) {
            offset = 0;
            bytes = size;
        } else if ((flags & DSBLOCK_FROMWRITECURSOR) != 0) {
            std::lock_guard hold(mMixer->Mutex());
            offset = static_cast<uint32_t>(mVoice.position >> 32) * mPcm->Format().blockAlign;
        }
        if (offset >= size || bytes == 0 || bytes > size)
            return DSERR_INVALIDPARAM;
        const uint32_t first = std::min(bytes, size - offset);
        *part1 = mPcm->Bytes() + offset;
        *length1 = first;
        if (part2 != nullptr)
            *part2 = first < bytes ? mPcm->Bytes() : nullptr;
        if (length2 != nullptr)
            *length2 = bytes - first;
        else if (first < bytes)
            return DSERR_INVALIDPARAM;
        return DS_OK;
    });
}

HRESULT DirectSoundBuffer::Unlock(void* part1, uint32_t length1, void* part2, uint32_t length2)
{
    return DSoundRuntime::Get().RunLogged(DSoundCall::Of(DSoundOp::Unlock, length1), [&]() -> HRESULT {
        if (mPcm == nullptr)
            return DSERR_INVALIDCALL;
        if (!Inside(part1, length1, mPcm->Bytes(), mPcm->Size()))
            return DSERR_INVALIDPARAM;
        if (part2 != nullptr && !Inside(part2, length2, mPcm->Bytes(), mPcm->Size()))
            return DSERR_INVALIDPARAM;
        return DS_OK;
    });
}

HRESULT DirectSoundBuffer::Play(uint32_t /*reserved*/, uint32_t /*priority*/, uint32_t flags)
{
    return DSoundRuntime::Get().RunLogged(DSoundCall::Of(DSoundOp::Play, flags), [&]() -> HRESULT {
        if (mPcm == nullptr)
            return DS_OK; // the primary buffer always plays here
        std::lock_guard hold(mMixer->Mutex());
        mVoice.looping = (flags & DSBPLAY_LOOPING) != 0;
        mVoice.playing = true;
        return DS_OK;
    });
}

HRESULT DirectSoundBuffer::Stop()
{
    return DSoundRuntime::Get().RunLogged(DSoundCall::Of(DSoundOp::Stop), [&]() -> HRESULT {
        if (mPcm == nullptr)
            return DS_OK;
        std::lock_guard hold(mMixer->Mutex());
        mVoice.playing = false;
        return DS_OK;
    });
}

HRESULT DirectSoundBuffer::SetCurrentPosition(uint32_t bytes)
{
    return DSoundRuntime::Get().RunLogged(DSoundCall::Of(DSoundOp::SetCurrentPosition, bytes), [&]() -> HRESULT {
        if (mPcm == nullptr)
            return DSERR_INVALIDCALL;
        if (bytes >= mPcm->Size())
            return DSERR_INVALIDPARAM;
        std::lock_guard hold(mMixer->Mutex());
        mVoice.position = static_cast<uint64_t>(bytes / mPcm->Format().blockAlign) << 32;
        return DS_OK;
    });
}

HRESULT DirectSoundBuffer::GetCurrentPosition(uint32_t* play, uint32_t* write)
{
    if (mPcm == nullptr)
        return DSERR_INVALIDCALL;
    std::lock_guard hold(mMixer->Mutex());
    const uint32_t bytes = static_cast<uint32_t>(mVoice.position >> 32) * mPcm->Format().blockAlign;
    if (play != nullptr)
        *play = bytes;
    if (write != nullptr)
        *write = bytes;
    return DS_OK;
}

HRESULT DirectSoundBuffer::GetStatus(uint32_t* status)
{
    return DSoundRuntime::Get().RunLogged(DSoundCall::Of(DSoundOp::GetStatus), [&]() -> HRESULT {
        if (status == nullptr)
            return DSERR_INVALIDPARAM;
        *status = 0;
        if (mPcm == nullptr)
            return DS_OK;
        std::lock_guard hold(mMixer->Mutex());
        if (mVoice.playing)
            *status = DSBSTATUS_PLAYING | (mVoice.looping ? DSBSTATUS_LOOPING : 0);
        return DS_OK;
    });
}

HRESULT DirectSoundBuffer::GetFrequency(uint32_t* frequency)
{
    if (HRESULT result = Control(DSBCAPS_CTRLFREQUENCY); result != DS_OK)
        return result;
    if (frequency == nullptr)
        return DSERR_INVALIDPARAM;
    std::lock_guard hold(mMixer->Mutex());
    *frequency = mVoice.rate;
    return DS_OK;
}

HRESULT DirectSoundBuffer::SetFrequency(uint32_t frequency)
{
    return DSoundRuntime::Get().RunLogged(DSoundCall::Of(DSoundOp::SetFrequency, frequency), [&]() -> HRESULT {
        if (HRESULT result = Control(DSBCAPS_CTRLFREQUENCY); result != DS_OK)
            return result;
        if (frequency < DSBFREQUENCY_MIN || frequency > DSBFREQUENCY_MAX)
            return DSERR_INVALIDPARAM;
        std::lock_guard hold(mMixer->Mutex());
        mVoice.rate = frequency;
        return DS_OK;
    });
}

HRESULT DirectSoundBuffer::GetLevel(uint32_t control, int32_t* out, const int32_t& field)
{
    if (HRESULT result = Control(control); result != DS_OK)
        return result;
    if (out == nullptr)
        return DSERR_INVALIDPARAM;
    std::lock_guard hold(mMixer->Mutex());
    *out = field;
    return DS_OK;
}

HRESULT DirectSoundBuffer::SetLevel(DSoundOp op, uint32_t control, int32_t value, int32_t low, int32_t high,
                                    int32_t& field)
{
    return DSoundRuntime::Get().RunLogged(DSoundCall::Of(op, value), [&]() -> HRESULT {
        if (HRESULT result = Control(control); result != DS_OK)
            return result;
        if (value < low || value > high)
            return DSERR_INVALIDPARAM;
        std::lock_guard hold(mMixer->Mutex());
        field = value;
        ApplyGainsLocked();
        return DS_OK;
    });
}

HRESULT DirectSoundBuffer::GetVolume(int32_t* volume)
{
    return GetLevel(DSBCAPS_CTRLVOLUME, volume, mVolume);
}

HRESULT DirectSoundBuffer::SetVolume(int32_t volume)
{
    return SetLevel(DSoundOp::SetVolume, DSBCAPS_CTRLVOLUME, volume, DSBVOLUME_MIN, DSBVOLUME_MAX, mVolume);
}

HRESULT DirectSoundBuffer::GetPan(int32_t* pan)
{
    return GetLevel(DSBCAPS_CTRLPAN, pan, mPan);
}

HRESULT DirectSoundBuffer::SetPan(int32_t pan)
{
    return SetLevel(DSoundOp::SetPan, DSBCAPS_CTRLPAN, pan, DSBPAN_LEFT, DSBPAN_RIGHT, mPan);
}

} // namespace Platform
