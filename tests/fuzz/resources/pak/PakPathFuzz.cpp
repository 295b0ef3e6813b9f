// Names and patterns as data gives them: the pack key form, the disk path
// form and wildcard matching must not crash, and a key is never longer than
// the name it came from.
#include "platform/fs/PathResolver.h"
#include "platform/fs/WildcardMatch.h"
#include "resources/pak/NormalizePakPath.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (Tandry::NormalizePakPath(text).size() > size)
        __builtin_trap();
    if (Platform::PathResolver::Normalize(text).size() > (size == 0 ? 0 : std::max<size_t>(size, 1)))
        __builtin_trap();

    // The first line is a mask, the rest a name.
    const size_t cut = text.find('\n');
    if (cut != std::string_view::npos)
        Platform::MatchWildcard(text.substr(0, cut), text.substr(cut + 1));
    return 0;
}
