#include "game/shell/ReadingTime.h"

#include "resources/ini/GameIni.h"

#include <optional>

namespace Tandry {
namespace {

struct ReadingRates {
    float perChar;
    float perString;
};

std::optional<ReadingRates> gReadingRates;

} // namespace

float ReadingTime(const std::wstring& text)
{
    if (!gReadingRates) {
        gReadingRates = ReadingRates{gGameIni.GetFloat("TimePerChar", "Game", 0.1f),
                                     gGameIni.GetFloat("TimePerStringAdd", "Game", 1.0f)};
    }
    return gReadingRates->perChar * static_cast<float>(text.size()) + gReadingRates->perString;
}

void ResetReadingTime()
{
    gReadingRates.reset();
}

} // namespace Tandry
