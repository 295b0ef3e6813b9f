#include "game/shell/StringTokenizer.h"

#include "util/StringUtils.h"

#include <limits>
#include <locale>
#include <sstream>

namespace Tandry {

namespace {

// A failed read that still stored a non-zero value was out of range: the
// stream stored the nearest limit, which is the saturated answer.
template <typename Number>
bool ParseClassic(const std::string& text, Number& value)
{
    std::istringstream in(text);
    in.imbue(std::locale::classic());
    Number read{};
    in >> read;
    if (in.fail() && read == Number{})
        return false;
    value = read;
    return true;
}

} // namespace

bool ParseClassicInt(const std::string& text, int& value)
{
    return ParseClassic(text, value);
}

bool ParseClassicFloat(const std::string& text, float& value)
{
    return ParseClassic(text, value);
}

StringTokenizer::StringTokenizer(std::string text, char delimiter)
    : mText(std::move(text)), mDelimiter(delimiter)
{
    StringTrimBlanks(mText);
}

bool StringTokenizer::Next(std::string& token)
{
    if (mPosition == std::string::npos)
        return false;
    const size_t end = mText.find(mDelimiter, mPosition);
    if (end == std::string::npos) {
        token = mText.substr(mPosition);
        mPosition = std::string::npos;
    } else {
        token = mText.substr(mPosition, end - mPosition);
        mPosition = end + 1;
    }
    StringTrimBlanks(token);
    return true;
}

bool StringTokenizer::NextInt(int& value)
{
    std::string token;
    return Next(token) && ParseClassicInt(token, value);
}

bool StringTokenizer::NextFloat(float& value)
{
    std::string token;
    return Next(token) && ParseClassicFloat(token, value);
}

} // namespace Tandry
