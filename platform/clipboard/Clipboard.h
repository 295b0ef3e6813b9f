// The clipboard, as the application sees it: narrow ANSI (Windows-1252) text
// in and out. Text from other programs may hold any bytes; what cannot be
// read becomes U+FFFD and then '?', never a crash or a cut string.
#pragma once

#include <optional>
#include <string>

namespace Platform {

class Clipboard {
public:
    virtual ~Clipboard() = default;
    // False when the clipboard cannot be written.
    virtual bool SetText(const std::string& ansiText) = 0;
    // Empty when the clipboard holds no text or cannot be read.
    virtual std::optional<std::string> GetText() = 0;
};

} // namespace Platform
