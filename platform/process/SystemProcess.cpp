#include "platform/process/SystemProcess.h"

#include <cstdlib>
#include <filesystem>

namespace Platform {

SystemProcess::SystemProcess(std::vector<std::string> arguments)
    : mArguments(std::move(arguments))
{
}

std::string SystemProcess::GetModuleFileName()
{
    std::error_code ec;
    std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : program.string();
}

std::string SystemProcess::GetCommandLine()
{
    return BuildCommandLine(GetModuleFileName(), mArguments);
}

void SystemProcess::Exit(int code)
{
    std::exit(code);
}

} // namespace Platform
