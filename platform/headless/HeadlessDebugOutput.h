// Headless debugger output: keeps every text for the test, in order.
#pragma once

#include "platform/debug/DebugOutput.h"

#include <mutex>
#include <vector>

namespace Platform {

class HeadlessDebugOutput : public DebugOutput {
public:
    void Write(const std::string& text) override;
    std::vector<std::string> GetTexts();
    // Every text joined, for tests that look for a line.
    std::string GetAll();

private:
    std::mutex mLock;
    std::vector<std::string> mTexts;
};

} // namespace Platform
