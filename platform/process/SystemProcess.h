// The real process: the program file from /proc/self/exe, the arguments main
// handed over, runtimes always present (SDL brings display and sound), no
// system sounds, and Exit through std::exit so static objects are destroyed.
#pragma once

#include "platform/process/ProcessService.h"

#include <vector>

namespace Platform {

class SystemProcess : public ProcessService {
public:
    explicit SystemProcess(std::vector<std::string> arguments);

    std::string GetModuleFileName() override;
    std::string GetCommandLine() override;
    bool AreRuntimesPresent() override { return true; }
    void PlaySystemSound(const std::string&) override {}
    [[noreturn]] void Exit(int code) override;

private:
    std::vector<std::string> mArguments;
};

} // namespace Platform
