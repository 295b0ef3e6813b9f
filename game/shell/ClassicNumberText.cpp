#include "game/shell/ClassicNumberText.h"

#include <charconv>

namespace Tandry {

namespace {

std::string ToText(double value, std::chars_format format, int precision)
{
    // Large enough for any double in fixed form with the few decimals asked for.
    char buffer[400];
    const std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, value, format, precision);
    if (result.ec != std::errc())
        return {};
    return std::string(buffer, result.ptr);
}

} // namespace

std::string ClassicGeneralText(double value)
{
    return ToText(value, std::chars_format::general, 6);
}

std::string ClassicFixedText(double value, int decimals)
{
    return ToText(value, std::chars_format::fixed, decimals);
}

} // namespace Tandry
