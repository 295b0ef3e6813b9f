// The SDL clipboard: the application's Windows-1252 text goes out as UTF-8,
// and whatever other programs left there comes back as Windows-1252, damage
// as U+FFFD and then '?'.
#pragma once

#include "platform/clipboard/Clipboard.h"

namespace Platform {

class SdlClipboard : public Clipboard {
public:
    bool SetText(const std::string& ansiText) override;
    std::optional<std::string> GetText() override;
};

} // namespace Platform
