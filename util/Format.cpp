// Narrow printf-style formatting and the number texts.
#include "util/Format.h"

#include "platform/debug/DebugOutput.h"
#include "util/StringUtils.h"

#include <algorithm>
#include <cstdio>

namespace Tandry {
namespace {

// Short texts, the common case, are formatted on the stack.
constexpr int kStackChars = 160;
// The last heap try of the doubling from 160 (the first capacity past 1,000,000);
// longer texts are cut here.
constexpr size_t kLongestText = 1310720;

} // namespace

std::string FormatString(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string text = StrFormatV(format, args);
    va_end(args);
    return text;
}

std::string StrFormatV(const char* format, va_list args)
{
    if (format == nullptr)
        return std::string();
    char stack[kStackChars + 1];
    va_list attempt;
    va_copy(attempt, args);
    const int length = std::vsnprintf(stack, sizeof stack, format, attempt);
    va_end(attempt);
    if (length < 0)
        return std::string();
    if (length <= kStackChars)
        return std::string(stack, static_cast<size_t>(length));

    // glibc reports the full length, so one heap try of the right size does
    // what the doubling tries did.
    std::string text(std::min(static_cast<size_t>(length), kLongestText), '\0');
    va_copy(attempt, args);
    std::vsnprintf(text.data(), text.size() + 1, format, attempt);
    va_end(attempt);
    return text;
}

void DebugPrintf(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    const std::wstring text = WStrFormatV(format, args);
    va_end(args);
    Platform::OutputDebugText(WideToNarrow(text));
}

std::string FormatInt(int value)
{
    return std::to_string(value);
}

std::wstring FormatGroupedInt(int value)
{
    if (value < 0)
        return std::wstring();
    std::wstring digits;
    int position = 0;
    do {
        if (position > 0 && position % 3 == 0)
            digits += L',';
        digits += static_cast<wchar_t>(L'0' + value % 10);
        value /= 10;
        ++position;
    } while (value > 0);
    std::reverse(digits.begin(), digits.end());
    return digits;
}

} // namespace Tandry
