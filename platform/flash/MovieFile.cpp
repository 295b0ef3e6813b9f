// Grammar of a movie file:
//
//   file     = magic { line }
//   magic    = "MOORGLEN MOVIE 1" EOL          (exactly; the first line)
//   line     = blank-line | comment | timed
//   comment  = blanks "#" anything EOL
//   timed    = blanks delay blanks1 command [ blanks1 argument ] blanks EOL
//   delay    = digit { digit }                 (0 to 3,600,000 ms)
//   command  = non-blank { non-blank }
//   argument = anything, blanks trimmed at both ends (may be empty, may hold blanks)
//   blanks   = { " " | "\t" }
//   EOL      = [ CR ] LF | end of file
//
// The command "wait" takes "<variable> <value>" as its argument, both
// present. More than 10,000 timed lines refuse the file.
#include "platform/flash/MovieFile.h"

#include <string_view>

namespace Platform {
namespace {

constexpr std::string_view kMagic = "MOORGLEN MOVIE 1";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// The first run of non-blanks; text keeps what follows it.
std::string_view TakeToken(std::string_view& text)
{
    size_t end = 0;
    while (end < text.size() && !IsBlank(text[end]))
        ++end;
    const std::string_view token = text.substr(0, end);
    text.remove_prefix(end);
    return token;
}

bool ParseDelay(std::string_view token, uint32_t& delay)
{
    if (token.empty())
        return false;
    uint64_t value = 0;
    for (char c : token) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + static_cast<uint64_t>(c - '0');
        if (value > MovieLimits::kMaxDelay)
            return false;
    }
    delay = static_cast<uint32_t>(value);
    return true;
}

bool Fail(std::string& error, size_t lineNumber, const char* why)
{
    error = "line " + std::to_string(lineNumber) + ": " + why;
    return false;
}

// Parses one timed line (already trimmed, not empty, not a comment).
bool ParseTimed(std::string_view text, MovieLine& line, std::string& error, size_t lineNumber)
{
    if (!ParseDelay(TakeToken(text), line.delay))
        return Fail(error, lineNumber, "the delay is not a number of milliseconds from 0 to 3600000");
    text = TrimBlanks(text);
    const std::string_view command = TakeToken(text);
    if (command.empty())
        return Fail(error, lineNumber, "the line has no command");
    line.command = command;
    line.argument = TrimBlanks(text);
    if (line.IsWait()) {
        std::string_view rest = line.argument;
        line.variable = TakeToken(rest);
        line.value = TrimBlanks(rest);
        if (line.variable.empty() || line.value.empty())
            return Fail(error, lineNumber, "\"wait\" needs a variable and a value");
    }
    return true;
}

} // namespace

bool ParseMovieFile(std::span<const uint8_t> bytes, MovieFile& out, std::string& error)
{
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    MovieFile parsed;
    size_t pos = 0;
    size_t lineNumber = 0;
    bool sawMagic = false;
    while (pos < text.size() || (!sawMagic && lineNumber == 0)) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view lineText = text.substr(pos, end - pos);
        pos = end + 1;
        ++lineNumber;
        if (!lineText.empty() && lineText.back() == '\r')
            lineText.remove_suffix(1);
        if (!sawMagic) {
            if (lineText != kMagic)
                return Fail(error, lineNumber, "the file does not start with \"MOORGLEN MOVIE 1\"");
            sawMagic = true;
            continue;
        }
        const std::string_view trimmed = TrimBlanks(lineText);
        if (trimmed.empty() || trimmed.front() == '#')
            continue;
        if (parsed.lines.size() == MovieLimits::kMaxLines)
            return Fail(error, lineNumber, "more than 10000 timed lines");
        MovieLine line;
        if (!ParseTimed(trimmed, line, error, lineNumber))
            return false;
        parsed.lines.push_back(std::move(line));
    }
    out = std::move(parsed);
    error.clear();
    return true;
}

} // namespace Platform
