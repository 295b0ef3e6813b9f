// Comma lists as the ini reader stores them and the game's integer lists.
#include "util/StringUtils.h"

#include <climits>

namespace Tandry {

// atoi's reading (leading whitespace, a sign, digits), but clamped to the int
// range, as the original runtime's atoi does, instead of overflowing.
int ParseLeadingInt(const std::string& piece)
{
    size_t i = 0;
    while (i < piece.size() && (piece[i] == ' ' || (piece[i] >= '\t' && piece[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < piece.size() && (piece[i] == '+' || piece[i] == '-'))
        negative = piece[i++] == '-';
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    long long value = 0;
    for (; i < piece.size() && piece[i] >= '0' && piece[i] <= '9'; ++i) {
        value = value * 10 + (piece[i] - '0');
        if (value > limit) {
            value = limit;
            break;
        }
    }
    return static_cast<int>(negative ? -value : value);
}

namespace {

// Calls visit with each piece between commas; n commas give n + 1 pieces.
template <typename Visit>
void ForEachCommaPiece(const std::string& text, Visit visit)
{
    size_t start = 0;
    for (;;) {
        const size_t comma = text.find(',', start);
        visit(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (comma == std::string::npos)
            return;
        start = comma + 1;
    }
}

} // namespace

void SplitCommaList(std::vector<std::string>& out, const std::string& text)
{
    out.clear();
    ForEachCommaPiece(text, [&](const std::string& piece) { out.push_back(TrimSpaces(piece)); });
}

std::string JoinCommaList(const std::vector<std::string>& items)
{
    std::string joined;
    for (size_t i = 0; i < items.size(); ++i) {
        if (i > 0)
            joined += ',';
        joined += items[i];
    }
    return joined;
}

void ParseIntList(std::vector<int>& out, const std::string& text)
{
    std::string trimmed = text;
    StringTrimBlanks(trimmed);
    ForEachCommaPiece(trimmed, [&](std::string piece) {
        StringTrimBlanks(piece);
        if (!piece.empty())
            out.push_back(ParseLeadingInt(piece));
    });
}

} // namespace Tandry
