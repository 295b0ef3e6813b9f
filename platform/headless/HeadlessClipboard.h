// The headless clipboard: holds one string, empty until something is set.
#pragma once

#include "platform/clipboard/Clipboard.h"

#include <mutex>

namespace Platform {

class HeadlessClipboard : public Clipboard {
public:
    bool SetText(const std::string& ansiText) override;
    std::optional<std::string> GetText() override;

private:
    std::mutex mLock;
    std::optional<std::string> mText;
};

} // namespace Platform
