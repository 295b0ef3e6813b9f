// Opening a web address in the user's browser (ShellExecute "open"): true
// when the launch was handed over, false when it failed.
#pragma once

#include <string>

namespace Platform {

class Shell {
public:
    virtual ~Shell() = default;
    virtual bool OpenUrl(const std::string& url) = 0;
};

} // namespace Platform
