// One second of output (44100 frames) mixed from 32 voices, beside a plain
// loop that sums 32 16-bit stereo sources with one gain per channel into 32
// bits and saturates. Goals: at most 1.5 x the plain loop with every voice
// 16-bit stereo at 44100 Hz, at most 3 x with mixed formats and rates.
#include "platform/dsound/SoundMixer.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace {

using namespace Platform;

constexpr uint32_t kFrames = 44100;
constexpr int kVoices = 32;

class BenchSource : public MixerSource {
public:
    BenchSource(uint16_t bits, uint16_t channels, uint32_t frames)
        : mBits(bits), mChannels(channels), mFrames(frames), mBytes(static_cast<size_t>(frames) * channels * bits / 8)
    {
        for (size_t i = 0; i < mBytes.size(); ++i)
            mBytes[i] = static_cast<uint8_t>(i * 131 + 7);
    }
    PcmView Pcm() const override { return {mBytes.data(), mFrames, mBits, mChannels}; }

private:
    uint16_t mBits, mChannels;
    uint32_t mFrames;
    std::vector<uint8_t> mBytes;
};

void MixVoices(benchmark::State& state, bool mixed)
{
    SoundMixer mixer;
    std::vector<std::unique_ptr<MixerVoice>> voices;
    for (int v = 0; v < kVoices; ++v) {
        auto voice = std::make_unique<MixerVoice>();
        if (!mixed || v % 4 == 0) {
            voice->source = std::make_shared<BenchSource>(16, 2, kFrames);
        } else if (v % 4 == 1) {
            voice->source = std::make_shared<BenchSource>(8, 1, kFrames / 2);
            voice->rate = 22050;
        } else if (v % 4 == 2) {
            voice->source = std::make_shared<BenchSource>(16, 1, kFrames / 4);
            voice->rate = 11025;
        } else {
            voice->source = std::make_shared<BenchSource>(16, 2, kFrames);
            voice->rate = 46722; // a semitone up
        }
        voice->gainLeft = voice->gainRight = MixerVoice::kUnityGain / kVoices;
        voice->looping = true;
        voice->playing = true;
        voices.push_back(std::move(voice));
    }
    {
        std::lock_guard hold(mixer.Mutex());
        for (auto& voice : voices)
            mixer.AttachLocked(voice.get());
    }
    std::vector<int16_t> out(kFrames * 2);
    for (auto _ : state) {
        mixer.Render(out.data(), kFrames);
        benchmark::DoNotOptimize(out.data());
    }
    std::lock_guard hold(mixer.Mutex());
    for (auto& voice : voices)
        mixer.DetachLocked(voice.get());
}

void BM_Mixer_32Voices16BitStereo(benchmark::State& state)
{
    MixVoices(state, false);
}
BENCHMARK(BM_Mixer_32Voices16BitStereo);

void BM_Mixer_32VoicesMixedFormatsAndRates(benchmark::State& state)
{
    MixVoices(state, true);
}
BENCHMARK(BM_Mixer_32VoicesMixedFormatsAndRates);

// The reference: 32 sources of 16-bit stereo, one gain per channel, summed in 32 bits, saturated.
void BM_Mixer_ReferenceLoop(benchmark::State& state)
{
    std::vector<std::vector<int16_t>> sources(kVoices, std::vector<int16_t>(kFrames * 2));
    for (int v = 0; v < kVoices; ++v)
        for (size_t i = 0; i < sources[v].size(); ++i)
            sources[v][i] = static_cast<int16_t>(i * 131 + v);
    const int32_t gain = 1024;
    std::vector<int32_t> sum(kFrames * 2);
    std::vector<int16_t> out(kFrames * 2);
    for (auto _ : state) {
        std::fill(sum.begin(), sum.end(), 0);
        for (const auto& source : sources)
            for (size_t i = 0; i < sum.size(); i += 2) {
                sum[i] += (source[i] * gain) >> 15;
                sum[i + 1] += (source[i + 1] * gain) >> 15;
            }
        for (size_t i = 0; i < sum.size(); ++i)
            out[i] = static_cast<int16_t>(std::clamp(sum[i], -32768, 32767));
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_Mixer_ReferenceLoop);

} // namespace
