#include "app/CommandLineSplitter.h"

namespace Tandry {

std::string CommandLineOptionsText(const std::string& line)
{
    size_t nameEnd = 0;
    if (!line.empty() && line[0] == '"') {
        nameEnd = line.find('"', 1);
        if (nameEnd == std::string::npos)
            return std::string();
    }
    const size_t blank = line.find(' ', nameEnd);
    return blank == std::string::npos ? std::string() : line.substr(blank + 1);
}

void SplitCommandLineOptions(const std::string& text, const CommandLineOptionHandler& handler)
{
    std::string name;
    std::string value;
    bool inQuotes = false;
    bool inValue = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        bool endOfOption = false;
        if (c == '"') {
            endOfOption = inQuotes;
            inQuotes = !inQuotes;
        } else if (c == ' ' && !inQuotes) {
            endOfOption = true;
        } else if (c == '=') {
            inValue = true;
        } else {
            (inValue ? value : name) += c;
        }
        if (i + 1 == text.size())
            endOfOption = true;
        // An option without a name is dropped, and what was gathered for it is
        // kept: "=x -play" therefore hands nothing at all.
        if (endOfOption && !name.empty()) {
            handler(name, value);
            name.clear();
            value.clear();
            inValue = false;
        }
    }
}

} // namespace Tandry
