#include "platform/debug/DebugOutput.h"

#include "platform/Platform.h"
#include "platform/debug/StderrDebugOutput.h"

#include <mutex>

namespace Platform {
namespace {

std::mutex gSinkLock;
DebugSink gSink;

} // namespace

void OutputDebugText(const std::string& text)
{
    {
        std::lock_guard<std::mutex> hold(gSinkLock);
        if (gSink) {
            gSink(text);
            return;
        }
    }
    if (ServiceBundle* platform = TryGetPlatform()) {
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
