#include "platform/dsound/VoiceMixing.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace Platform {
namespace {

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

// The formulas every path reproduces: linear interpolation on a 16-bit
// fraction, then a Q15 gain per channel, rounded down.
inline int32_t Lerp(int32_t from, int32_t to, int32_t fraction)
{
    return from + static_cast<int32_t>((static_cast<int64_t>(to - from) * fraction) >> 16);
}

inline int32_t Fraction(uint64_t position)
{
    return static_cast<int32_t>((position >> 16) & 0xFFFF);
}

struct Gains {
    int32_t left;
    int32_t right;
#if defined(__SSE2__)
    // Each output lane (left, right, left, right) holds two 16-bit halves
    // whose sum is its gain, so pmaddwd of a sample doubled into both halves
    // gives sample × gain exactly. Only for gains within ±32768, which covers
    // every gain the volume and pan laws give; others take the frame loop.
    bool vector = false;
    __m128i pairs = _mm_setzero_si128();
#endif

    Gains(int32_t gainLeft, int32_t gainRight) : left(gainLeft), right(gainRight)
    {
#if defined(__SSE2__)
        const auto fits = [](int32_t g) { return g >= -32768 && g <= 32768; };
        const auto halves = [](int32_t g) {
            const int32_t low = g >> 1;
            const int32_t high = g - low;
            return static_cast<int32_t>((static_cast<uint32_t>(high) << 16) | (static_cast<uint32_t>(low) & 0xFFFF));
        };
        vector = fits(left) && fits(right);
        pairs = _mm_set_epi32(halves(right), halves(left), halves(right), halves(left));
#endif
    }

    void Add(int32_t* out, int32_t sampleLeft, int32_t sampleRight) const
    {
        out[0] += (sampleLeft * left) >> 15;
        out[1] += (sampleRight * right) >> 15;
    }
};

#if defined(__SSE2__)
using V = __m128i;

// How far ahead of a voice's reading the source is fetched: every voice is
// a stream of its own and a block takes only a few kilobytes of each, too
// many streams for the hardware to follow.
constexpr uintptr_t kPrefetchBytes = 2048;

inline void Prefetch(const uint8_t* at)
{
    _mm_prefetch(reinterpret_cast<const char*>(reinterpret_cast<uintptr_t>(at) + kPrefetchBytes), _MM_HINT_T0);
}

inline uint32_t Load32(const uint8_t* at)
{
    uint32_t value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

inline uint16_t Load16(const uint8_t* at)
{
    uint16_t value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

// Unsigned 8-bit samples in the low 8 bytes become (b - 128) × 256 in 16-bit lanes.
inline V Widen8(V bytes)
{
    return _mm_unpacklo_epi8(_mm_setzero_si128(), _mm_xor_si128(bytes, _mm_set1_epi8(static_cast<char>(0x80))));
}

// Adds four lanes of sample × gain >> 15; each 32-bit lane of doubled holds
// its sample in both 16-bit halves.
inline void AddDoubled(int32_t* out, V doubled, V pairs)
{
    const V sum = _mm_add_epi32(_mm_loadu_si128(reinterpret_cast<const V*>(out)),
                                _mm_srai_epi32(_mm_madd_epi16(doubled, pairs), 15));
    _mm_storeu_si128(reinterpret_cast<V*>(out), sum);
}

// Four stereo frames as eight 16-bit samples, left and right in turn.
inline void AddFourFrames(int32_t* out, V samples, V pairs)
{
    AddDoubled(out, _mm_unpacklo_epi16(samples, samples), pairs);
    AddDoubled(out + 4, _mm_unpackhi_epi16(samples, samples), pairs);
}

template <int Bits, int Channels>
inline V LoadFourFrames(const uint8_t* in)
{
    if constexpr (Bits == 16 && Channels == 2) {
        return _mm_loadu_si128(reinterpret_cast<const V*>(in));
    } else if constexpr (Bits == 16) {
        const V mono = _mm_loadl_epi64(reinterpret_cast<const V*>(in));
        return _mm_unpacklo_epi16(mono, mono);
    } else if constexpr (Channels == 2) {
        return Widen8(_mm_loadl_epi64(reinterpret_cast<const V*>(in)));
    } else {
        const V mono = Widen8(_mm_cvtsi32_si128(static_cast<int>(Load32(in))));
        return _mm_unpacklo_epi16(mono, mono);
    }
}

// Eight 16-bit lanes of Lerp(from, to, fraction), the fraction unsigned.
// 65536 × Lerp = 65536 from + to f - from f, rounded down; with each product
// split into its high and low 16 bits, that is from + high(to f) - high(from f)
// less one where low(to f) < low(from f). pmulhw reads f as signed, which
// takes x × 65536 off the product where f ≥ 32768, so x is added back there.
// The lanes wrap at 16 bits, harmlessly: the result lies between from and to.
inline V Interpolate(V from, V to, V fraction)
{
    const V top = _mm_srai_epi16(fraction, 15);
    const V highTo = _mm_add_epi16(_mm_mulhi_epi16(to, fraction), _mm_and_si128(to, top));
    const V highFrom = _mm_add_epi16(_mm_mulhi_epi16(from, fraction), _mm_and_si128(from, top));
    const V bias = _mm_set1_epi16(static_cast<short>(0x8000));
    const V lowTo = _mm_xor_si128(_mm_mullo_epi16(to, fraction), bias);
    const V lowFrom = _mm_xor_si128(_mm_mullo_epi16(from, fraction), bias);
    const V borrow = _mm_cmpgt_epi16(lowFrom, lowTo);
    return _mm_add_epi16(_mm_add_epi16(from, borrow), _mm_sub_epi16(highTo, highFrom));
}

// The low 32 bits of four consecutive positions; their high halves are the fractions.
inline V PositionLows(uint64_t position, uint64_t step)
{
    const auto low = [&](int j) { return static_cast<int>(static_cast<uint32_t>(position + j * step)); };
    return _mm_set_epi32(low(3), low(2), low(1), low(0));
}

// Four stereo frames from four source frames, each with its next: the frames
// in from, the next frames in to, left and right in turn.
template <int Bits>
inline void StereoPairsAt(const uint8_t* data, const uint32_t* frame, V& from, V& to)
{
    if constexpr (Bits == 16) {
        const auto at = [&](int j) {
            return _mm_loadl_epi64(reinterpret_cast<const V*>(data + static_cast<size_t>(frame[j]) * 4));
        };
        const __m128 first = _mm_castsi128_ps(_mm_unpacklo_epi64(at(0), at(1)));
        const __m128 second = _mm_castsi128_ps(_mm_unpacklo_epi64(at(2), at(3)));
        from = _mm_castps_si128(_mm_shuffle_ps(first, second, _MM_SHUFFLE(2, 0, 2, 0)));
        to = _mm_castps_si128(_mm_shuffle_ps(first, second, _MM_SHUFFLE(3, 1, 3, 1)));
    } else {
        const auto at = [&](int j) { return static_cast<int>(Load32(data + static_cast<size_t>(frame[j]) * 2)); };
        const int order = _MM_SHUFFLE(3, 1, 2, 0);
        V bytes = _mm_set_epi32(at(3), at(2), at(1), at(0));
        bytes = _mm_shuffle_epi32(_mm_shufflehi_epi16(_mm_shufflelo_epi16(bytes, order), order), order);
        bytes = _mm_xor_si128(bytes, _mm_set1_epi8(static_cast<char>(0x80)));
        from = _mm_unpacklo_epi8(_mm_setzero_si128(), bytes);
        to = _mm_unpackhi_epi8(_mm_setzero_si128(), bytes);
    }
}

// Eight mono source frames, each with its next.
template <int Bits>
inline void MonoPairsAt(const uint8_t* data, const uint32_t* frame, V& from, V& to)
{
    if constexpr (Bits == 16) {
        const auto at = [&](int j) { return static_cast<int>(Load32(data + static_cast<size_t>(frame[j]) * 2)); };
        const V first = _mm_set_epi32(at(3), at(2), at(1), at(0));
        const V second = _mm_set_epi32(at(7), at(6), at(5), at(4));
        from = _mm_packs_epi32(_mm_srai_epi32(_mm_slli_epi32(first, 16), 16),
                               _mm_srai_epi32(_mm_slli_epi32(second, 16), 16));
        to = _mm_packs_epi32(_mm_srai_epi32(first, 16), _mm_srai_epi32(second, 16));
    } else {
        const auto at = [&](int j) { return static_cast<uint64_t>(Load16(data + frame[j])); };
        const uint64_t low = at(0) | at(1) << 16 | at(2) << 32 | at(3) << 48;
        const uint64_t high = at(4) | at(5) << 16 | at(6) << 32 | at(7) << 48;
        const V bytes = _mm_xor_si128(_mm_set_epi64x(static_cast<long long>(high), static_cast<long long>(low)),
                                      _mm_set1_epi8(static_cast<char>(0x80)));
        from = _mm_slli_epi16(bytes, 8);
        to = _mm_and_si128(bytes, _mm_set1_epi16(static_cast<short>(0xFF00)));
    }
}
#endif

// The loops below are inlined whole into each build of the mixing (see
// MixVoiceInto), so each is compiled for that build's instruction set.
#define TANDRY_MIXING_INLINE inline __attribute__((always_inline))

// frames output frames from the run's first source frame at the output rate.
template <int Bits, int Channels>
TANDRY_MIXING_INLINE void AddRun(const uint8_t* in, int32_t* out, uint32_t frames, const Gains& gains)
{
    uint32_t i = 0;
#if defined(__SSE2__)
    if (gains.vector) {
        constexpr size_t kFrameBytes = Channels * Bits / 8;
        for (; i + 4 <= frames; i += 4) {
            Prefetch(in + i * kFrameBytes);
            AddFourFrames(out + static_cast<size_t>(i) * 2, LoadFourFrames<Bits, Channels>(in + i * kFrameBytes),
                          gains.pairs);
        }
    }
#endif
    for (; i < frames; ++i) {
        int32_t left, right;
        FrameAt<Bits, Channels>(in, i, left, right);
        gains.Add(out + static_cast<size_t>(i) * 2, left, right);
    }
}

// frames output frames stepping from position, each of which starts before
// the last source frame, so its next frame is the one after it.
template <int Bits, int Channels>
TANDRY_MIXING_INLINE void AddInterpolated(const uint8_t* data, uint64_t& position, uint64_t step, int32_t* out, uint32_t frames,
                     const Gains& gains)
{
    uint32_t i = 0;
#if defined(__SSE2__)
    // Stereo takes four frames at a time, mono eight: eight 16-bit lanes either way.
    constexpr uint32_t kGroup = Channels == 2 ? 4 : 8;
    if (gains.vector && frames >= kGroup) {
        const V advance = _mm_set1_epi32(static_cast<int>(static_cast<uint32_t>(4 * step)));
        V lows = PositionLows(position, step);
        for (; i + kGroup <= frames; i += kGroup) {
            uint32_t frame[kGroup];
            for (uint32_t j = 0; j < kGroup; ++j) {
                frame[j] = static_cast<uint32_t>(position >> 32);
                position += step;
            }
            int32_t* at = out + static_cast<size_t>(i) * 2;
            V from, to;
            if constexpr (Channels == 2) {
                const int fractions = _MM_SHUFFLE(3, 3, 1, 1);
                const V fraction = _mm_shufflehi_epi16(_mm_shufflelo_epi16(lows, fractions), fractions);
                lows = _mm_add_epi32(lows, advance);
                StereoPairsAt<Bits>(data, frame, from, to);
                AddFourFrames(at, Interpolate(from, to, fraction), gains.pairs);
            } else {
                const V next = _mm_add_epi32(lows, advance);
                const V fraction = _mm_packs_epi32(_mm_srai_epi32(lows, 16), _mm_srai_epi32(next, 16));
                lows = _mm_add_epi32(next, advance);
                MonoPairsAt<Bits>(data, frame, from, to);
                const V values = Interpolate(from, to, fraction);
                AddFourFrames(at, _mm_unpacklo_epi16(values, values), gains.pairs);
                AddFourFrames(at + 8, _mm_unpackhi_epi16(values, values), gains.pairs);
            }
        }
    }
#endif
    for (; i < frames; ++i) {
        const uint32_t frame = static_cast<uint32_t>(position >> 32);
        const int32_t fraction = Fraction(position);
        int32_t left0, right0, left1, right1;
        FrameAt<Bits, Channels>(data, frame, left0, right0);
        FrameAt<Bits, Channels>(data, frame + 1, left1, right1);
        gains.Add(out + static_cast<size_t>(i) * 2, Lerp(left0, left1, fraction), Lerp(right0, right1, fraction));
        position += step;
    }
}

template <int Bits, int Channels>
TANDRY_MIXING_INLINE void MixVoice(MixerVoice& voice, const PcmView& pcm, int32_t* mix, uint32_t frames)
{
    const uint32_t count = pcm.frames;
    const Gains gains(voice.gainLeft, voice.gainRight);
    const uint64_t end = static_cast<uint64_t>(count) << 32;
    if (voice.position >= end)
        voice.position = voice.looping ? voice.position % end : end;
    uint32_t done = 0;
    if (voice.rate == AudioOutput::kRate) {
        uint32_t frame = static_cast<uint32_t>(voice.position >> 32);
        while (done < frames && frame < count) {
            const uint32_t run = std::min(frames - done, count - frame);
            AddRun<Bits, Channels>(pcm.data + static_cast<size_t>(frame) * Channels * (Bits / 8),
                                   mix + static_cast<size_t>(done) * 2, run, gains);
            done += run;
            frame += run;
            if (frame >= count && voice.looping)
                frame = 0;
        }
        voice.position = static_cast<uint64_t>(frame) << 32;
    } else {
        const uint64_t step = (static_cast<uint64_t>(voice.rate) << 32) / AudioOutput::kRate;
        // Frames that start before this have a next frame to interpolate to.
        const uint64_t lastStart = static_cast<uint64_t>(count - 1) << 32;
        uint64_t position = voice.position;
        while (done < frames && position < end) {
            if (position < lastStart) {
                const uint64_t reach = (lastStart - position + step - 1) / step;
                const auto run = static_cast<uint32_t>(std::min<uint64_t>(frames - done, reach));
                AddInterpolated<Bits, Channels>(pcm.data, position, step, mix + static_cast<size_t>(done) * 2, run,
                                                gains);
                done += run;
            } else {
                // The last frame leads to frame 0 when looping, else to itself.
                int32_t left0, right0, left1, right1;
                FrameAt<Bits, Channels>(pcm.data, count - 1, left0, right0);
                if (voice.looping)
                    FrameAt<Bits, Channels>(pcm.data, 0, left1, right1);
                else
                    left1 = left0, right1 = right0;
                const int32_t fraction = Fraction(position);
                gains.Add(mix + static_cast<size_t>(done) * 2, Lerp(left0, left1, fraction),
                          Lerp(right0, right1, fraction));
                ++done;
                position += step;
            }
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

void MixBaseline(MixerVoice& voice, const PcmView& pcm, int32_t* mix, uint32_t frames)
{
    const bool eight = pcm.bitsPerSample == 8;
    if (pcm.channels == 1)
        eight ? MixVoice<8, 1>(voice, pcm, mix, frames) : MixVoice<16, 1>(voice, pcm, mix, frames);
    else
        eight ? MixVoice<8, 2>(voice, pcm, mix, frames) : MixVoice<16, 2>(voice, pcm, mix, frames);
}

#if defined(__x86_64__)
// The same loops for 16-bit sources with the AVX2 encodings: three-operand
// forms drop the register copies that the SSE2 encodings force, which these
// instruction-bound loops feel. The 8-bit loops ran slower so built, so
// they stay on the baseline.
__attribute__((target("avx2"))) void Mix16Avx2(MixerVoice& voice, const PcmView& pcm, int32_t* mix,
                                                uint32_t frames)
{
    if (pcm.channels == 1)
        MixVoice<16, 1>(voice, pcm, mix, frames);
    else
        MixVoice<16, 2>(voice, pcm, mix, frames);
}

bool HasAvx2()
{
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}
#endif

} // namespace

void MixVoiceInto(MixerVoice& voice, const PcmView& pcm, int32_t* mix, uint32_t frames, MixingCode code)
{
#if defined(__x86_64__)
    if (code == MixingCode::Best && pcm.bitsPerSample == 16 && HasAvx2()) {
        Mix16Avx2(voice, pcm, mix, frames);
        return;
    }
#endif
    MixBaseline(voice, pcm, mix, frames);
}

void SaturateInto(const int32_t* mix, int16_t* samples, uint32_t count)
{
    uint32_t i = 0;
#if defined(__SSE2__)
    // packssdw saturates exactly as the clamp does.
    for (; i + 8 <= count; i += 8) {
        const V low = _mm_loadu_si128(reinterpret_cast<const V*>(mix + i));
        const V high = _mm_loadu_si128(reinterpret_cast<const V*>(mix + i + 4));
        _mm_storeu_si128(reinterpret_cast<V*>(samples + i), _mm_packs_epi32(low, high));
    }
#endif
    for (; i < count; ++i)
        samples[i] = static_cast<int16_t>(std::clamp(mix[i], -32768, 32767));
}

} // namespace Platform
