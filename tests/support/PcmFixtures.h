// Small sound fixtures that tests build in memory: a plain PCM WAV file
// around given sample bytes, and a stereo ramp whose every sample differs,
// so a rendered block shows exactly which frames it came from.
#pragma once

#include <cstdint>
#include <vector>

namespace TestSupport {

inline std::vector<uint8_t> MakeWav(uint16_t channels, uint32_t rate, uint16_t bits, const std::vector<uint8_t>& data)
{
    std::vector<uint8_t> out;
    auto u16 = [&](uint32_t v) {
        out.push_back(static_cast<uint8_t>(v));
        out.push_back(static_cast<uint8_t>(v >> 8));
    };
    auto u32 = [&](uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    };
    auto text = [&](const char* t) { out.insert(out.end(), t, t + 4); };
    text("RIFF");
    u32(36 + static_cast<uint32_t>(data.size()));
    text("WAVE");
    text("fmt ");
    u32(16);
    u16(1);
    u16(channels);
    u32(rate);
    u32(rate * channels * bits / 8);
    u16(channels * bits / 8);
    u16(bits);
    text("data");
    u32(static_cast<uint32_t>(data.size()));
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

// Left start, start + 1, ...; right the negatives.
inline std::vector<int16_t> StereoRamp(size_t frames, int start)
{
    std::vector<int16_t> samples;
    for (size_t i = 0; i < frames; ++i) {
        samples.push_back(static_cast<int16_t>(start + static_cast<int>(i)));
        samples.push_back(static_cast<int16_t>(-start - static_cast<int>(i)));
    }
    return samples;
}

inline std::vector<uint8_t> SampleBytes(const std::vector<int16_t>& samples)
{
    std::vector<uint8_t> bytes;
    for (int16_t s : samples) {
        bytes.push_back(static_cast<uint8_t>(static_cast<uint16_t>(s)));
        bytes.push_back(static_cast<uint8_t>(static_cast<uint16_t>(s) >> 8));
    }
    return bytes;
}

} // namespace TestSupport
