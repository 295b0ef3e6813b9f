#include "platform/headless/HeadlessProcess.h"

namespace Platform {

HeadlessExit::HeadlessExit(int code)
    : std::runtime_error("the program called Exit(" + std::to_string(code) + ")")
    , mCode(code)
{
}

std::string HeadlessProcess::GetModuleFileName()
{
    std::lock_guard<std::mutex> hold(mLock);
    return mProgramPath;
}

std::string HeadlessProcess::GetCommandLine()
{
    std::lock_guard<std::mutex> hold(mLock);
    return BuildCommandLine(mProgramPath, mArguments);
}

bool HeadlessProcess::AreRuntimesPresent()
{
    std::lock_guard<std::mutex> hold(mLock);
    return mRuntimesPresent;
}

void HeadlessProcess::PlaySystemSound(const std::string& path)
{
    std::lock_guard<std::mutex> hold(mLock);
    mSounds.push_back(path);
}

void HeadlessProcess::Exit(int code)
{
    {
        std::lock_guard<std::mutex> hold(mLock);
        mExitCode = code;
    }
    throw HeadlessExit(code);
}

void HeadlessProcess::SetProgramPath(const std::string& path)
{
    std::lock_guard<std::mutex> hold(mLock);
    mProgramPath = path;
}

void HeadlessProcess::SetArguments(const std::vector<std::string>& arguments)
{
    std::lock_guard<std::mutex> hold(mLock);
    mArguments = arguments;
}

void HeadlessProcess::SetRuntimesPresent(bool present)
{
    std::lock_guard<std::mutex> hold(mLock);
    mRuntimesPresent = present;
}

std::vector<std::string> HeadlessProcess::GetPlayedSounds()
{
    std::lock_guard<std::mutex> hold(mLock);
    return mSounds;
}

std::optional<int> HeadlessProcess::GetExitCode()
{
    std::lock_guard<std::mutex> hold(mLock);
    return mExitCode;
}

} // namespace Platform
