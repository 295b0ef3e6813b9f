// The debugger output of a real run: like a debugger that listens, it writes
// to standard error when MOORGLEN_DEBUG=1 is set and drops everything
// otherwise. Each text is written whole under a lock.
#pragma once

#include "platform/debug/DebugOutput.h"

#include <mutex>

namespace Platform {

class StderrDebugOutput : public DebugOutput {
public:
    StderrDebugOutput();
    void Write(const std::string& text) override;

private:
    bool mEnabled;
    std::mutex mLock;
};

} // namespace Platform
