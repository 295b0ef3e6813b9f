#include "platform/dsound/SoundMixer.h"

#include "platform/Platform.h"
#include "platform/dsound/VoiceMixing.h"

#include <algorithm>
#include <array>

namespace Platform {
namespace {

std::mutex gShareLock;
std::weak_ptr<SoundMixer> gShared;
std::atomic<uint32_t> gSpeakerVolume{SoundMixer::kFullSpeakerVolume};

void MixAny(MixerVoice& voice, int32_t* mix, uint32_t frames)
{
    const PcmView pcm = voice.source ? voice.source->Pcm() : PcmView{};
    if (pcm.data == nullptr || pcm.frames == 0) {
        voice.playing = false;
        return;
    }
    MixVoiceInto(voice, pcm, mix, frames);
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

void SoundMixer::AddFeeder(MixerFeeder* feeder)
{
    std::lock_guard<std::mutex> hold(mFeedLock);
    mFeeders.push_back(feeder);
}

void SoundMixer::RemoveFeeder(MixerFeeder* feeder)
{
    std::lock_guard<std::mutex> hold(mFeedLock);
    mFeeders.erase(std::remove(mFeeders.begin(), mFeeders.end(), feeder), mFeeders.end());
}

void SoundMixer::Render(int16_t* samples, uint32_t frames)
{
    while (frames > 0) {
        const uint32_t block = std::min(frames, kBlockFrames);
        {
            std::lock_guard<std::mutex> hold(mFeedLock);
            for (MixerFeeder* feeder : mFeeders)
                feeder->Feed(block);
        }
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
    if (speaker != kFullSpeakerVolume)
        for (uint32_t i = 0; i < frames * 2; ++i)
            mix[i] = static_cast<int32_t>(static_cast<int64_t>(mix[i]) * speaker / kFullSpeakerVolume);
    SaturateInto(mix.data(), samples, frames * 2);
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
