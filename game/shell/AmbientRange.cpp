#include "game/shell/AmbientRange.h"

#include "util/RandomGenerator.h"

#include <clocale>
#include <cstdlib>
#include <locale.h>

namespace Tandry {
namespace {

float ReadNumber(const std::string& text)
{
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return static_cast<float>(strtod_l(text.c_str(), nullptr, cLocale));
}

} // namespace

AmbientRanges ParseAmbientRanges(const std::vector<std::string>& items)
{
    AmbientRanges ranges;
    for (const std::string& item : items) {
        const size_t slash = item.find('/');
        AmbientRange range;
        range.min = ReadNumber(item.substr(0, slash));
        range.max = slash == std::string::npos ? range.min : ReadNumber(item.substr(slash + 1));
        ranges.push_back(range);
    }
    return ranges;
}

float PickFromRanges(const AmbientRanges& ranges)
{
    if (ranges.empty())
        return 0;
    const AmbientRange& range = ranges[static_cast<size_t>(CrtRand()) % ranges.size()];
    const double step = (CrtRand() % 10000) / 10000.0;
    return static_cast<float>(range.min + step * (range.max - range.min));
}

} // namespace Tandry
