#include "tools/gamedata/GameSound.h"

#include "tools/gamedata/Description.h"
#include "tools/gamedata/OggFile.h"
#include "tools/gamedata/WavFile.h"

namespace Tandry {
namespace {

constexpr int kFailed = 1;
constexpr int kBadArguments = 2;

bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

} // namespace

int RunGameSound(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.size() != 2 || args[0].empty() || args[1].empty()) {
        err << "usage: gamesound <source> <output>\n"
               "Writes the sound the source describes as WAV, or as Ogg Vorbis when the output ends in .ogg.\n";
        return kBadArguments;
    }
    const std::string& path = args[0];
    const std::string& output = args[1];
    std::string text;
    std::string error;
    GameData::SoundScore score;
    std::vector<uint8_t> bytes;
    bool made = GameData::ReadSourceFile(path, text, error) && GameData::ParseSoundDescription(text, score, error);
    if (made) {
        const GameData::SynthSound sound = GameData::RenderSound(score);
        if (EndsWith(output, ".ogg"))
            made = GameData::EncodeOgg(sound, bytes, error);
        else
            bytes = GameData::EncodeWav(sound);
    }
    if (!made) {
        err << "gamesound: " << path << ": " << error << "\n";
        GameData::RemoveOutputFile(output);
        return kFailed;
    }
    if (!GameData::WriteOutputFile(output, bytes, error)) {
        err << "gamesound: " << error << "\n";
        return kFailed;
    }
    out << "gamesound: wrote " << output << "\n";
    return 0;
}

} // namespace Tandry
