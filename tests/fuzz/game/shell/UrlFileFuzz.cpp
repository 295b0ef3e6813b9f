// The Internet shortcut reader on any bytes: it never fails, and what it
// gives is a part of one line of the input without surrounding blanks.
#include "game/shell/InternetShortcut.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string url = Tandry::ParseInternetShortcut(text);
    if (url.empty())
        return 0;
    if (url.find_first_of("\r\n") != std::string::npos || url.front() == ' ' || url.front() == '\t' ||
        url.back() == ' ' || url.back() == '\t' || text.find(url) == std::string_view::npos)
        std::abort();
    return 0;
}
