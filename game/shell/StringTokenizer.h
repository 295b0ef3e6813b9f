// Reads a delimited list one token at a time: the comma lists of the profile
// store (notebooks, level records, notepads). Tokens and the whole text are
// trimmed of spaces and tabs; an empty text still holds one empty token.
#pragma once

#include <string>

namespace Tandry {

class StringTokenizer {
public:
    StringTokenizer(std::string text, char delimiter);

    // The next token; false once the last one has been taken.
    bool Next(std::string& token);
    // The next token read as a number in the classic form. False, with value
    // unchanged, when no token is left or the token does not begin with a
    // number (the token is used up either way); out-of-range numbers saturate.
    bool NextInt(int& value);
    bool NextFloat(float& value);

private:
    std::string mText;
    char mDelimiter;
    // Where the next token starts; npos once the last token has been taken.
    size_t mPosition = 0;
};

// A decimal number at the start of text (after blanks), read in the classic
// form whatever the process locale; false when there is none. Out-of-range
// values saturate.
bool ParseClassicInt(const std::string& text, int& value);
bool ParseClassicFloat(const std::string& text, float& value);

} // namespace Tandry
