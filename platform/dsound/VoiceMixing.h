// The sound mixer's inner loops: adding one voice's frames, with its gains,
// into a block of 32-bit stereo sums. A voice at the output rate adds its
// frames as they stand; any other rate interpolates linearly on a 32.32
// position. One loop per sample format, four frames at a time with SSE2 (and
// AVX2 encodings where the processor has them) and the same formula frame by
// frame elsewhere, so every path sums the same.
#pragma once

#include "platform/dsound/SoundMixer.h"

#include <cstdint>

namespace Platform {

// Which build of the loops runs: the best the processor has (AVX2 encodings
// where it helps), or the SSE2 baseline, which tests compare too. Both give
// the same sums.
enum class MixingCode { Best, Baseline };

// Adds frames × 2 sums to mix from the voice's cursor and moves the cursor;
// a one-shot that reaches its end stops and rewinds to frame 0, a looping
// voice wraps. pcm holds at least one frame.
void MixVoiceInto(MixerVoice& voice, const PcmView& pcm, int32_t* mix, uint32_t frames,
                  MixingCode code = MixingCode::Best);

// The sums limited to -32768..32767, count samples.
void SaturateInto(const int32_t* mix, int16_t* samples, uint32_t count);

} // namespace Platform
