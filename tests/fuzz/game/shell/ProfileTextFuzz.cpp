// The profile store's text readers on arbitrary text: the comma tokenizer
// (every token, numbers too) and the hex names. Tokens never hold the
// delimiter or outer blanks, and a name written as hex reads back the same.
#include "game/shell/StringTokenizer.h"
#include "resources/pak/FileUtils.h"

#include "tests/fuzz/FuzzBytes.h"

#include <string>

// TODO: also the level record, notebook and notepad parsers once those exist.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    Tandry::StringTokenizer tokens(text, ',');
    std::string token;
    size_t count = 0;
    while (tokens.Next(token)) {
        FuzzCheck(token.find(',') == std::string::npos);
        FuzzCheck(token.empty() || (token.front() != ' ' && token.front() != '\t' && token.back() != ' ' &&
                                    token.back() != '\t'));
        FuzzCheck(++count <= size + 1);
    }
    Tandry::StringTokenizer numbers(text, ',');
    int i = 0;
    float f = 0.0f;
    for (size_t n = 0; n <= size + 1; ++n) {
        if (!(n % 2 ? numbers.NextInt(i) : numbers.NextFloat(f)) && !numbers.Next(token))
            break;
    }

    const std::wstring name = Tandry::HexToWideString(text);
    FuzzCheck(name.size() == size / 4);
    const std::string hex = Tandry::WideStringToHex(name);
    FuzzCheck(hex.size() == name.size() * 4);
    FuzzCheck(Tandry::HexToWideString(hex) == name);
    return 0;
}
