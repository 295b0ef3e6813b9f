#include "platform/dsound/SoundMixer.h"

#include "platform/Platform.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace Platform {
namespace {

std::mutex gShareLock;
std::weak_ptr<SoundMixer> gShared;
std::atomic<uint32_t> gSpeakerVolume{SoundMixer::kFullSpeakerVolume};

template <int Bits>
inline int32_t SampleAt(const uint8_t* data, size_t index)
{
    if constexpr (Bits == 8) {
        return (static_cast<int32_t>(data[index]) - 128) * 256;
    } else {
        int16_t value;
        std::memcpy(&value, data + index * 2, sizeof value);
        return value;
    }
}

// One frame's left and right before the gains; mono feeds both.
template <int Bits, int Channels>
inline void FrameAt(const uint8_t* data, size_t frame, int32_t& left, int32_t& right)
{
    if constexpr (Channels == 1) {
        left = right = SampleAt<Bits>(data, frame);
    } else {
        left = SampleAt<Bits>(data, frame * 2);
        right = SampleAt<Bits>(data, frame * 2 + 1);
    }
}

// Adds one voice to the block. A voice at the output rate copies frames; any
// other rate interpolates linearly between a frame and the next (frame 0 for
// a looping voice at its end, the frame itself for one that stops there).
template <int Bits, int Channels>
void MixVoice(MixerVoice& voice, const PcmView& pcm, int32_t* mix, uint32_t frames)
{
    const uint32_t count = pcm.frames;
    const int32_t gainLeft = voice.gainLeft;
    const int32_t gainRight = voice.gainRight;
    const uint64_t end = static_cast<uint64_t>(count) << 32;
    if (voice.position >= end)
        voice.position = voice.looping ? voice.position % end : end;
    uint32_t done = 0;
    if (voice.rate == AudioOutput::kRate) {
        uint32_t frame = static_cast<uint32_t>(voice.position >> 32);
        while (done < frames && frame < count) {
            const uint32_t run = std::min(frames - done, count - frame);
            // Indexed from the run's first frame, and the PCM bytes cannot be
            // the mix, so the loop vectorises.
            int32_t* __restrict out = mix + static_cast<size_t>(done) * 2;
            const uint8_t* __restrict in = pcm.data + static_cast<size_t>(frame) * Channels * (Bits / 8);
            for (size_t i = 0; i < run; ++i) {
                int32_t left, right;
                FrameAt<Bits, Channels>(in, i, left, right);
                out[i * 2] += (left * gainLeft) >> 15;
                out[i * 2 + 1] += (right * gainRight) >> 15;
            }
            done += run;
            frame += run;
            if (frame >= count && voice.looping)
                frame = 0;
        }
        voice.position = static_cast<uint64_t>(frame) << 32;
    } else {
        const uint64_t step = (static_cast<uint64_t>(voice.rate) << 32) / AudioOutput::kRate;
        uint64_t position = voice.position;
        while (done < frames && position < end) {
            const uint32_t frame = static_cast<uint32_t>(position >> 32);
            const int32_t fraction = static_cast<int32_t>((position >> 16) & 0xFFFF);
            int32_t left0, right0, left1, right1;
            FrameAt<Bits, Channels>(pcm.data, frame, left0, right0);
            if (frame + 1 < count)
                FrameAt<Bits, Channels>(pcm.data, frame + 1, left1, right1);
            else if (voice.looping)
                FrameAt<Bits, Channels>(pcm.data, 0, left1, right1);
            else
                left1 = left0, right1 = right0;
            const int32_t left = left0 + static_cast<int32_t>((static_cast<int64_t>(left1 - left0) * fraction) >> 16);
            const int32_t right = right0 + static_cast<int32_t>((static_cast<int64_t>(right1 - right0) * fraction) >> 16);
            mix[done * 2] += (left * gainLeft) >> 15;
            mix[done * 2 + 1] += (right * gainRight) >> 15;
            ++done;
            position += step;
            if (position >= end && voice.looping)
                position %= end;
        }
        voice.position = position;
    }
    // A one-shot that ended rewinds, so a later Play starts it again.
    if (voice.position >= end && !voice.looping) {
        voice.playing = false;
        voice.position = 0;
    }
}

void MixAny(MixerVoice& voice, int32_t* mix, uint32_t frames)
{
    const PcmView pcm = voice.source ? voice.source->Pcm() : PcmView{};
    if (pcm.data == nullptr || pcm.frames == 0) {
        voice.playing = false;
        return;
    }
    const bool eight = pcm.bitsPerSample == 8;
    if (pcm.channels == 1)
        eight ? MixVoice<8, 1>(voice, pcm, mix, frames) : MixVoice<16, 1>(voice, pcm, mix, frames);
    else
        eight ? MixVoice<8, 2>(voice, pcm, mix, frames) : MixVoice<16, 2>(voice, pcm, mix, frames);
}

} // namespace

std::shared_ptr<SoundMixer> SoundMixer::Acquire(std::string& error)
{
    std::lock_guard<std::mutex> hold(gShareLock);
    if (std::shared_ptr<SoundMixer> shared = gShared.lock())
        return shared;
    auto mixer = std::make_shared<SoundMixer>();
    AudioOutput& output = GetPlatform().GetAudioOutput();
    if (!output.Open(*mixer, error))
        return nullptr;
    mixer->mOutput = &output;
    gShared = mixer;
    return mixer;
}

SoundMixer::~SoundMixer()
{
    if (mOutput != nullptr)
        mOutput->Close();
}

void SoundMixer::AttachLocked(MixerVoice* voice)
{
    mVoices.push_back(voice);
}

void SoundMixer::DetachLocked(MixerVoice* voice)
{
    mVoices.erase(std::remove(mVoices.begin(), mVoices.end(), voice), mVoices.end());
}

void SoundMixer::Render(int16_t* samples, uint32_t frames)
{
    while (frames > 0) {
        const uint32_t block = std::min(frames, kBlockFrames);
        MixBlock(samples, block);
        samples += static_cast<size_t>(block) * 2;
        frames -= block;
    }
}

void SoundMixer::MixBlock(int16_t* samples, uint32_t frames)
{
    std::array<int32_t, kBlockFrames * 2> mix{};
    {
        std::lock_guard<std::mutex> hold(mLock);
        for (MixerVoice* voice : mVoices)
            if (voice->playing)
                MixAny(*voice, mix.data(), frames);
    }
    const uint32_t speaker = gSpeakerVolume.load(std::memory_order_relaxed);
    for (uint32_t i = 0; i < frames * 2; ++i) {
        int32_t value = mix[i];
        if (speaker != kFullSpeakerVolume)
            value = static_cast<int32_t>(static_cast<int64_t>(value) * speaker / kFullSpeakerVolume);
        samples[i] = static_cast<int16_t>(std::clamp(value, -32768, 32767));
    }
}

uint32_t SoundMixer::GetSpeakerVolume()
{
    return gSpeakerVolume.load();
}

void SoundMixer::SetSpeakerVolume(uint32_t volume)
{
    gSpeakerVolume.store(std::min(volume, kFullSpeakerVolume));
}

void SoundMixer::ResetSpeakerVolume()
{
    gSpeakerVolume.store(kFullSpeakerVolume);
}

} // namespace Platform
