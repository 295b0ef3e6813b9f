// The debug-output service: where developer diagnostics go (the debugger's
// output window on the original platform). By default text reaches standard
// error only when MOORGLEN_DEBUG=1; tests and back ends install their own sink.
#pragma once

#include <functional>
#include <string>

namespace Platform {

using DebugSink = std::function<void(const std::string&)>;

// Sends text, unchanged and without an added line break, to the current sink.
void OutputDebugText(const std::string& text);

// Replaces the sink; an empty function restores the default one.
void SetDebugSink(DebugSink sink);

} // namespace Platform
