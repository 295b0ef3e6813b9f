#include "platform/debug/StderrDebugOutput.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace Platform {
namespace {

bool DebugSwitchOn()
{
    const char* wanted = std::getenv("MOORGLEN_DEBUG");
    return wanted != nullptr && std::strcmp(wanted, "1") == 0;
}

} // namespace

StderrDebugOutput::StderrDebugOutput()
    : mEnabled(DebugSwitchOn())
{
}

void StderrDebugOutput::Write(const std::string& text)
{
    if (!mEnabled)
        return;
    std::lock_guard<std::mutex> hold(mLock);
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}

} // namespace Platform
