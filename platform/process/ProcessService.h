// The process service: the program file and its command line, the product
// version of a file, whether the display and sound runtimes are present, the
// fixed answers about the operating system, the asynchronous system sound and
// the end of the process. Exit never returns; start-up code must let the
// exception of the headless Exit pass.
#pragma once

#include <string>
#include <vector>

namespace Platform {

class ProcessService {
public:
    virtual ~ProcessService() = default;

    // The path of the program file.
    virtual std::string GetModuleFileName() = 0;
    // The program path in double quotes, then each argument after one blank.
    virtual std::string GetCommandLine() = 0;
    // The version fixed at build time for the program file; empty for every other file.
    std::string ReadProductVersion(const std::string& path);
    virtual bool AreRuntimesPresent() = 0;

    bool IsWindowsNT() const { return true; }
    bool IsVistaOrLater() const { return true; }
    bool IsTabletPc() const { return false; }

    // Plays a sound file without waiting (the developer-key click).
    virtual void PlaySystemSound(const std::string& path) = 0;
    [[noreturn]] virtual void Exit(int code) = 0;
};

// The one-text command line of a program path and its arguments: an argument
// holding a blank or tab, or an empty one, is put in double quotes whole.
std::string BuildCommandLine(const std::string& programPath, const std::vector<std::string>& arguments);

} // namespace Platform
