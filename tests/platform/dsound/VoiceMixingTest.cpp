// The mixer's per-format loops against a model written from the mixing rules:
// 8-bit samples become (b - 128) x 256, mono feeds both sides, a voice off the
// output rate interpolates linearly on the 16-bit fraction of a 32.32 position
// (the last frame leads to frame 0 when looping, else to itself), each side
// is scaled by its Q15 gain rounded down, and the sum is saturated once.
#include "platform/dsound/SoundMixer.h"
#include "platform/dsound/VoiceMixing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

namespace {

using namespace Platform;

class BytesSource : public MixerSource {
public:
    BytesSource(std::vector<uint8_t> bytes, uint16_t bits, uint16_t channels)
        : mBytes(std::move(bytes)), mBits(bits), mChannels(channels)
    {
    }
    PcmView Pcm() const override
    {
        return {mBytes.data(), static_cast<uint32_t>(mBytes.size() / (mChannels * mBits / 8)), mBits, mChannels};
    }

private:
    std::vector<uint8_t> mBytes;
    uint16_t mBits, mChannels;
};

// The sound as the rules read it: one value per side and frame.
struct ModelVoice {
    std::vector<double> left, right;
    uint32_t rate = 44100;
    double gainLeft = 32768, gainRight = 32768;
    bool looping = false;
    uint64_t position = 0;
    bool playing = true;
};

void ModelRender(ModelVoice& voice, std::vector<double>& sums, uint32_t frames)
{
    const uint64_t count = voice.left.size();
    const uint64_t end = count << 32;
    const uint64_t step = (static_cast<uint64_t>(voice.rate) << 32) / 44100;
    if (voice.position >= end)
        voice.position = voice.looping ? voice.position % end : end;
    for (uint32_t j = 0; j < frames && voice.playing && voice.position < end; ++j) {
        const uint64_t frame = voice.position >> 32;
        const double fraction = static_cast<double>((voice.position >> 16) & 0xFFFF);
        const uint64_t next = frame + 1 < count ? frame + 1 : voice.looping ? 0 : frame;
        for (int side = 0; side < 2; ++side) {
            const std::vector<double>& s = side == 0 ? voice.left : voice.right;
            double value = s[frame];
            if (voice.rate != 44100)
                value += std::floor((s[next] - s[frame]) * fraction / 65536.0);
            sums[j * 2 + side] += std::floor(value * (side == 0 ? voice.gainLeft : voice.gainRight) / 32768.0);
        }
        // At the output rate a frame is a whole step and any fraction is dropped.
        voice.position = voice.rate == 44100 ? (frame + 1) << 32 : voice.position + step;
        if (voice.position >= end && voice.looping)
            voice.position %= end;
    }
    if (voice.position >= end && !voice.looping) {
        voice.playing = false;
        voice.position = 0;
    }
}

struct Format {
    uint16_t bits;
    uint16_t channels;
};

// Random samples with the extremes mixed in, so the interpolation's largest
// differences (-32768 to 32767) occur.
std::vector<uint8_t> MakeBytes(const Format& format, uint32_t frames, std::mt19937& random)
{
    std::vector<uint8_t> bytes(static_cast<size_t>(frames) * format.channels * format.bits / 8);
    for (size_t i = 0; i < bytes.size(); ++i) {
        const uint32_t r = random();
        bytes[i] = r % 5 == 0 ? (i % 2 == 0 ? 0x00 : 0xFF) : r % 7 == 0 ? 0x80 : static_cast<uint8_t>(r >> 8);
    }
    if (format.bits == 16 && frames >= 2) {
        // -32768 followed by 32767 on the first channel, at the start.
        const int16_t low = -32768, high = 32767;
        std::memcpy(&bytes[0], &low, 2);
        std::memcpy(&bytes[static_cast<size_t>(format.channels) * 2], &high, 2);
    }
    return bytes;
}

ModelVoice ModelOf(const std::vector<uint8_t>& bytes, const Format& format)
{
    ModelVoice model;
    const size_t frames = bytes.size() / (format.channels * format.bits / 8);
    for (size_t f = 0; f < frames; ++f) {
        double value[2];
        for (int c = 0; c < format.channels; ++c) {
            const size_t index = f * format.channels + static_cast<size_t>(c);
            if (format.bits == 8) {
                value[c] = (bytes[index] - 128.0) * 256.0;
            } else {
                int16_t sample;
                std::memcpy(&sample, &bytes[index * 2], 2);
                value[c] = sample;
            }
        }
        model.left.push_back(value[0]);
        model.right.push_back(format.channels == 2 ? value[1] : value[0]);
    }
    return model;
}

struct Case {
    Format format;
    uint32_t frames;
    uint32_t rate;
    int32_t gainLeft, gainRight;
    bool looping;
    uint64_t start;
};

void ExpectMixerMatchesModel(const Case& c, uint32_t seed)
{
    std::mt19937 random(seed);
    const std::vector<uint8_t> bytes = MakeBytes(c.format, c.frames, random);
    ModelVoice model = ModelOf(bytes, c.format);
    model.rate = c.rate;
    model.gainLeft = c.gainLeft;
    model.gainRight = c.gainRight;
    model.looping = c.looping;
    model.position = c.start;

    SoundMixer mixer;
    MixerVoice voice;
    voice.source = std::make_shared<BytesSource>(bytes, c.format.bits, c.format.channels);
    voice.rate = c.rate;
    voice.gainLeft = c.gainLeft;
    voice.gainRight = c.gainRight;
    voice.looping = c.looping;
    voice.position = c.start;
    voice.playing = true;
    {
        std::lock_guard hold(mixer.Mutex());
        mixer.AttachLocked(&voice);
    }
    // Pieces of odd sizes and one longer than a block, so runs end anywhere
    // within a group of four frames and the cursor carries across calls.
    for (const uint32_t piece : {1u, 3u, 6u, 1029u, 7u, 2051u, 5u}) {
        std::vector<int16_t> out(static_cast<size_t>(piece) * 2);
        mixer.Render(out.data(), piece);
        std::vector<double> sums(out.size(), 0.0);
        ModelRender(model, sums, piece);
        for (size_t i = 0; i < out.size(); ++i)
            ASSERT_EQ(out[i], static_cast<int16_t>(std::clamp(sums[i], -32768.0, 32767.0)))
                << c.format.bits << "-bit " << c.format.channels << " ch, " << c.frames << " frames at " << c.rate
                << " Hz, gains " << c.gainLeft << "/" << c.gainRight << (c.looping ? ", looping" : "")
                << ", piece " << piece << ", sample " << i;
        std::lock_guard hold(mixer.Mutex());
        ASSERT_EQ(voice.position, model.position);
        ASSERT_EQ(voice.playing, model.playing);
    }
    std::lock_guard hold(mixer.Mutex());
    mixer.DetachLocked(&voice);
}

TEST(VoiceMixingTest, EveryFormatRateAndGainSumsWhatTheRulesGive)
{
    const Format formats[] = {{8, 1}, {8, 2}, {16, 1}, {16, 2}};
    // The output rate, the common lower rates, a semitone up, the extremes
    // and rates whose step leaves every fraction bit in play.
    const uint32_t rates[] = {44100, 22050, 11025, 46722, 100, 100000, 44101, 32000};
    // Unity, pan-like pairs with one side unity and the other odd, silence,
    // a small even gain, and gains past unity that the volume law never gives.
    const int32_t gains[][2] = {{32768, 32768}, {32768, 103}, {1, 32768}, {0, 32767}, {1024, 1024}, {40000, -5}};
    const uint32_t lengths[] = {1, 2, 5, 67, 3001};
    uint32_t seed = 1;
    for (const Format& format : formats)
        for (const uint32_t rate : rates)
            for (const auto& gain : gains)
                for (const uint32_t frames : lengths)
                    for (const bool looping : {false, true}) {
                        // From the start, and from inside the sound at a fraction.
                        const uint64_t inside = (static_cast<uint64_t>(frames / 2) << 32) | 0x9E3779B9u;
                        for (const uint64_t start : {uint64_t{0}, inside})
                            ExpectMixerMatchesModel({format, frames, rate, gain[0], gain[1], looping, start}, seed++);
                    }
}

// Each build of the loops, called directly: its 32-bit sums, before any
// saturation, equal the model's, piece after piece, until a one-shot ends.
TEST(VoiceMixingTest, EachBuildOfTheLoopsAddsWhatTheRulesGive)
{
    const Format formats[] = {{8, 1}, {8, 2}, {16, 1}, {16, 2}};
    const uint32_t rates[] = {44100, 22050, 11025, 46722, 100000, 32000};
    const int32_t gains[][2] = {{32768, 32768}, {32768, 103}, {1024, 1024}, {40000, -5}};
    uint32_t seed = 7;
    for (const MixingCode code : {MixingCode::Best, MixingCode::Baseline})
        for (const Format& format : formats)
            for (const uint32_t rate : rates)
                for (const auto& gain : gains)
                    for (const uint32_t frames : {2u, 67u, 3001u})
                        for (const bool looping : {false, true}) {
                            std::mt19937 random(seed++);
                            const std::vector<uint8_t> bytes = MakeBytes(format, frames, random);
                            ModelVoice model = ModelOf(bytes, format);
                            model.rate = rate;
                            model.gainLeft = gain[0];
                            model.gainRight = gain[1];
                            model.looping = looping;
                            MixerVoice voice;
                            voice.rate = rate;
                            voice.gainLeft = gain[0];
                            voice.gainRight = gain[1];
                            voice.looping = looping;
                            voice.playing = true;
                            const PcmView pcm{bytes.data(), frames, format.bits, format.channels};
                            for (const uint32_t piece : {1u, 3u, 6u, 1029u, 7u, 2051u, 5u}) {
                                if (!model.playing)
                                    break;
                                std::vector<int32_t> mix(static_cast<size_t>(piece) * 2, 0);
                                MixVoiceInto(voice, pcm, mix.data(), piece, code);
                                std::vector<double> sums(mix.size(), 0.0);
                                ModelRender(model, sums, piece);
                                for (size_t i = 0; i < mix.size(); ++i)
                                    ASSERT_EQ(mix[i], sums[i])
                                        << (code == MixingCode::Best ? "best" : "baseline") << " build, "
                                        << format.bits << "-bit " << format.channels << " ch, " << frames
                                        << " frames at " << rate << " Hz, gains " << gain[0] << "/" << gain[1]
                                        << (looping ? ", looping" : "") << ", piece " << piece << ", sample " << i;
                                ASSERT_EQ(voice.position, model.position);
                                ASSERT_EQ(voice.playing, model.playing);
                            }
                        }
}

} // namespace
