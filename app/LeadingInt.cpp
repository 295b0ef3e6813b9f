#include "app/LeadingInt.h"

#include <climits>
#include <cstdint>

namespace Tandry {

std::optional<int> ReadLeadingInt(std::string_view text)
{
    size_t at = 0;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    }
    const size_t firstDigit = at;
    int64_t magnitude = 0;
    const int64_t limit = negative ? -static_cast<int64_t>(INT_MIN) : INT_MAX;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        magnitude = magnitude * 10 + (text[at] - '0');
        if (magnitude > limit)
            magnitude = limit;
    }
    if (at == firstDigit)
        return std::nullopt;
    return static_cast<int>(negative ? -magnitude : magnitude);
}

} // namespace Tandry
