#include "platform/debug/DebugOutput.h"

#include "platform/Platform.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace Platform {
namespace {

std::mutex gSinkLock;
DebugSink gSink;

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

void OutputDebugText(const std::string& text)
{
    {
        std::lock_guard<std::mutex> hold(gSinkLock);
        if (gSink) {
            gSink(text);
            return;
        }
    }
    if (Platform* platform = TryGetPlatform()) {
        platform->GetDebugOutput().Write(text);
        return;
    }
    static StderrDebugOutput fallback;
    fallback.Write(text);
}

void SetDebugSink(DebugSink sink)
{
    std::lock_guard<std::mutex> hold(gSinkLock);
    gSink = std::move(sink);
}

} // namespace Platform
