// The readers of the game data's text sources: the first byte picks the
// particle description, the sound description or the language source, the
// rest is the text. Besides not crashing: a particle block is the same on a
// second read; a sound plays within the bounds its reader allows, with as
// many samples as its length asks; a language table is whole UTF-16 units
// behind its mark with one CR LF per line end of the source.
#include "tools/gamedata/LangSource.h"
#include "tools/gamedata/ParticleDescription.h"
#include "tools/gamedata/SoundDescription.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace Tandry::GameData;
    if (size == 0)
        return 0;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    std::string error;
    switch (data[0] % 3) {
    case 0: {
        ParticleBlock first{};
        ParticleBlock second{};
        const bool parsed = ParseParticleDescription(text, first, error);
        if (parsed != ParseParticleDescription(text, second, error) || (parsed && first != second))
            std::abort();
        break;
    }
    case 1: {
        SoundScore score;
        if (!ParseSoundDescription(text, score, error))
            break;
        const SoundSettings& s = score.settings;
        if (s.length <= 0 || s.length > 600 || s.rate < 8000 || s.rate > 48000 || score.voices.size() > 20000)
            std::abort();
        // Rendering is only tried where it is quick.
        const double frames = std::llround(s.length * s.rate);
        if (frames * s.channels * static_cast<double>(score.voices.size() + 1) > 2e6)
            break;
        const SynthSound sound = RenderSound(score);
        if (sound.samples.size() != static_cast<size_t>(frames) * static_cast<size_t>(sound.channels))
            std::abort();
        break;
    }
    default: {
        std::vector<uint8_t> out;
        if (!ConvertLangSource(text, out, error))
            break;
        if (out.size() < 2 || out.size() % 2 != 0 || out[0] != 0xFF || out[1] != 0xFE)
            std::abort();
        size_t lineEnds = 0;
        for (size_t i = 2; i + 3 < out.size(); i += 2)
            if (out[i] == '\r' && out[i + 1] == 0 && out[i + 2] == '\n' && out[i + 3] == 0)
                ++lineEnds;
        size_t sourceEnds = 0;
        for (const char c : text)
            if (c == '\n')
                ++sourceEnds;
        if (lineEnds != sourceEnds)
            std::abort();
        break;
    }
    }
    return 0;
}
