#include "game/shell/LevelInfo.h"

#include "game/shell/ClassicNumberText.h"
#include "game/shell/ProfileManager.h"

namespace Tandry {

namespace {

constexpr char kLevels[] = "Levels";

} // namespace

std::string LevelInfo::Serialize() const
{
    return std::string(done ? "1," : "0,") + ClassicFixedText(value, 3);
}

void LevelInfo::Parse(StringTokenizer& tokens)
{
    int number = 0;
    if (tokens.NextInt(number))
        done = number == 1;
    tokens.NextFloat(value);
}

void LevelInfo::SaveToProfile() const
{
    GetProfileManager().SetValue(kLevels, levelName, Serialize());
}

void LevelInfo::LoadFromProfile()
{
    StringTokenizer tokens = GetProfileManager().GetListReader(kLevels, levelName);
    Parse(tokens);
}

} // namespace Tandry
