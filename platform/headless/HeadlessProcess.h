// The headless process: a settable program path and argument list, runtimes
// present unless the test says otherwise, system sounds recorded, and Exit
// recording its code and throwing HeadlessExit, which the test catches.
#pragma once

#include "platform/process/ProcessService.h"

#include <mutex>
#include <optional>
#include <stdexcept>
#include <vector>

namespace Platform {

class HeadlessExit : public std::runtime_error {
public:
    explicit HeadlessExit(int code);
    int GetCode() const { return mCode; }

private:
    int mCode;
};

class HeadlessProcess : public ProcessService {
public:
    std::string GetModuleFileName() override;
    std::string GetCommandLine() override;
    bool AreRuntimesPresent() override;
    void PlaySystemSound(const std::string& path) override;
    [[noreturn]] void Exit(int code) override;

    void SetProgramPath(const std::string& path);
    void SetArguments(const std::vector<std::string>& arguments);
    void SetRuntimesPresent(bool present);
    std::vector<std::string> GetPlayedSounds();
    std::optional<int> GetExitCode();

private:
    std::mutex mLock;
    std::string mProgramPath = "/opt/moorglen/moorglen";
    std::vector<std::string> mArguments;
    bool mRuntimesPresent = true;
    std::vector<std::string> mSounds;
    std::optional<int> mExitCode;
};

} // namespace Platform
