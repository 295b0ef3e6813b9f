// The shell's hexadecimal reader on any text: it never fails, and its value
// is that of the digits in the last eight characters, each other character
// counting as a 0 digit.
#include "game/shell/ParseHex.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

uint32_t DigitValue(char c)
{
    static const char kDigits[] = "0123456789abcdefABCDEF";
    const char* found = c == '\0' ? nullptr : std::strchr(kDigits, c);
    if (found == nullptr)
        return 0;
    const auto index = static_cast<uint32_t>(found - kDigits);
    return index < 16 ? index : index - 6;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    uint32_t expected = 0;
    for (size_t i = size > 8 ? size - 8 : 0; i < size; ++i)
        expected = expected * 16 + DigitValue(text[i]);
    if (Tandry::ParseHex(text) != static_cast<int32_t>(expected))
        std::abort();
    return 0;
}
