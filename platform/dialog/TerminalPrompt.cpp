#include "platform/dialog/TerminalPrompt.h"

#include "platform/codepage/CodePages.h"

#include <charconv>
#include <istream>
#include <ostream>

namespace Platform {
namespace {

std::string ToUtf8(const std::string& ansi)
{
    return WideCharToMultiByte(CP_UTF8, MultiByteToWideChar(CP_ACP, ansi));
}

std::string FromUtf8(const std::string& utf8)
{
    return WideCharToMultiByte(CP_ACP, MultiByteToWideChar(CP_UTF8, utf8));
}

bool ReadLine(std::istream& in, std::string& line)
{
    if (!std::getline(in, line))
        return false;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}

} // namespace

std::optional<std::string> PromptTextOnTerminal(std::istream& in, std::ostream& out, const std::string& title,
                                                const std::string& defaultText)
{
    out << ToUtf8(title) << " [" << ToUtf8(defaultText) << "]: " << std::flush;
    std::string line;
    if (!ReadLine(in, line))
        return std::nullopt;
    return line.empty() ? defaultText : FromUtf8(line);
}

std::optional<int> PromptChoiceOnTerminal(std::istream& in, std::ostream& out, const std::string& title,
                                          const std::vector<std::string>& lines)
{
    out << ToUtf8(title) << '\n';
    for (size_t i = 0; i < lines.size(); ++i)
        out << "  " << (i + 1) << ". " << ToUtf8(lines[i]) << '\n';
    out << "Number (empty to cancel): " << std::flush;
    std::string line;
    if (!ReadLine(in, line))
        return std::nullopt;
    size_t first = line.find_first_not_of(" \t");
    size_t last = line.find_last_not_of(" \t");
    if (first == std::string::npos)
        return std::nullopt;
    int number = 0;
    const char* begin = line.data() + first;
    const char* end = line.data() + last + 1;
    auto [stop, error] = std::from_chars(begin, end, number);
    if (error != std::errc() || stop != end || number < 1 || static_cast<size_t>(number) > lines.size())
        return std::nullopt;
    return number - 1;
}

} // namespace Platform
