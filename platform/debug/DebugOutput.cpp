#include "platform/debug/DebugOutput.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace Platform {
namespace {

std::mutex gSinkLock;
DebugSink gSink;

void DefaultSink(const std::string& text)
{
    const char* wanted = std::getenv("MOORGLEN_DEBUG");
    if (wanted != nullptr && std::strcmp(wanted, "1") == 0)
        std::fwrite(text.data(), 1, text.size(), stderr);
}

} // namespace

void OutputDebugText(const std::string& text)
{
    // Both the main and the loading thread print; the lock keeps the sink stable while it runs.
    std::lock_guard<std::mutex> hold(gSinkLock);
    if (gSink)
        gSink(text);
    else
        DefaultSink(text);
}

void SetDebugSink(DebugSink sink)
{
    std::lock_guard<std::mutex> hold(gSinkLock);
    gSink = std::move(sink);
}

} // namespace Platform
