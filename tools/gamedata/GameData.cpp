#include "tools/gamedata/GameData.h"

#include "tools/gamedata/Description.h"
#include "tools/gamedata/LangSource.h"
#include "tools/gamedata/ParticleDescription.h"

namespace Tandry {
namespace {

constexpr int kFailed = 1;
constexpr int kBadArguments = 2;

void PrintUsage(std::ostream& err)
{
    err << "usage: gamedata lang|particle <source> <output>\n"
           "  lang      UTF-8 text to the UTF-16LE language table with a byte order mark\n"
           "  particle  a particle description to the 128-byte parameter file\n";
}

bool Make(const std::string& kind, const std::string& source, std::vector<uint8_t>& bytes, std::string& error)
{
    if (kind == "lang")
        return GameData::ConvertLangSource(source, bytes, error);
    GameData::ParticleBlock block;
    if (!GameData::ParseParticleDescription(source, block, error))
        return false;
    bytes.assign(block.begin(), block.end());
    return true;
}

} // namespace

int RunGameData(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.size() != 3 || (args[0] != "lang" && args[0] != "particle")) {
        PrintUsage(err);
        return kBadArguments;
    }
    const std::string& path = args[1];
    const std::string& output = args[2];
    std::string text;
    std::string error;
    std::vector<uint8_t> bytes;
    if (!GameData::ReadSourceFile(path, text, error) || !Make(args[0], text, bytes, error)) {
        err << "gamedata: " << path << ": " << error << "\n";
        GameData::RemoveOutputFile(output);
        return kFailed;
    }
    if (!GameData::WriteOutputFile(output, bytes, error)) {
        err << "gamedata: " << error << "\n";
        return kFailed;
    }
    out << "gamedata: wrote " << output << "\n";
    return 0;
}

} // namespace Tandry
