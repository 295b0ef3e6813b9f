// The debugger output (OutputDebugStringA): where diagnostics, run statistics
// and DebugPrintf lines go. Each text is written whole, so texts from
// different threads never interleave. OutputDebugText sends to an installed
// sink when a test set one, else to the installed platform's output, else
// (before any platform exists) to standard error when MOORGLEN_DEBUG=1.
#pragma once

#include <functional>
#include <string>

namespace Platform {

class DebugOutput {
public:
    virtual ~DebugOutput() = default;
    // Sends text, unchanged and without an added line break.
    virtual void Write(const std::string& text) = 0;
};

void OutputDebugText(const std::string& text);
inline void OutputDebugStringA(const char* text) { OutputDebugText(text ? text : ""); }

// Catches everything OutputDebugText sends, platform or not; an empty function removes it.
using DebugSink = std::function<void(const std::string&)>;
void SetDebugSink(DebugSink sink);

} // namespace Platform
