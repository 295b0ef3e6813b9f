#include "platform/process/ProcessService.h"

#include <filesystem>

#ifndef MOORGLEN_PRODUCT_VERSION
#define MOORGLEN_PRODUCT_VERSION "1.0.0.0"
#endif

namespace Platform {

std::string ProcessService::ReadProductVersion(const std::string& path)
{
    const std::string program = GetModuleFileName();
    if (path.empty() || program.empty())
        return {};
    std::error_code ec;
    bool same = path == program || std::filesystem::equivalent(path, program, ec);
    return same ? MOORGLEN_PRODUCT_VERSION : std::string();
}

std::string BuildCommandLine(const std::string& programPath, const std::vector<std::string>& arguments)
{
    std::string line = "\"" + programPath + "\"";
    for (const std::string& argument : arguments) {
        line += ' ';
        bool quote = argument.empty() || argument.find_first_of(" \t") != std::string::npos;
        if (quote)
            line += '"';
        line += argument;
        if (quote)
            line += '"';
    }
    return line;
}

} // namespace Platform
