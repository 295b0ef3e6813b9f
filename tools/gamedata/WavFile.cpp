#include "tools/gamedata/WavFile.h"

namespace Tandry::GameData {
namespace {

void PutLe(std::vector<uint8_t>& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void PutTag(std::vector<uint8_t>& out, const char (&tag)[5])
{
    out.insert(out.end(), tag, tag + 4);
}

} // namespace

std::vector<uint8_t> EncodeWav(const SynthSound& sound)
{
    const uint32_t dataBytes = static_cast<uint32_t>(sound.samples.size() * 2);
    const uint32_t blockAlign = static_cast<uint32_t>(sound.channels) * 2;
    std::vector<uint8_t> out;
    PutTag(out, "RIFF");
    PutLe(out, 36 + dataBytes, 4);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    PutLe(out, 16, 4);
    PutLe(out, 1, 2); // PCM
    PutLe(out, static_cast<uint32_t>(sound.channels), 2);
    PutLe(out, sound.rate, 4);
    PutLe(out, sound.rate * blockAlign, 4);
    PutLe(out, blockAlign, 2);
    PutLe(out, 16, 2);
    PutTag(out, "data");
    PutLe(out, dataBytes, 4);
    for (const int16_t sample : sound.samples)
        PutLe(out, static_cast<uint16_t>(sample), 2);
    return out;
}

} // namespace Tandry::GameData
