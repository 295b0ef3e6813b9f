// Headless URL opening: records every address and answers from a script,
// in order; with an empty script every launch succeeds.
#pragma once

#include "platform/shell/Shell.h"

#include <deque>
#include <mutex>
#include <vector>

namespace Platform {

class HeadlessShell : public Shell {
public:
    bool OpenUrl(const std::string& url) override;
    void ScriptResult(bool ok);
    std::vector<std::string> GetOpenedUrls();

private:
    std::mutex mLock;
    std::deque<bool> mScript;
    std::vector<std::string> mUrls;
};

} // namespace Platform
