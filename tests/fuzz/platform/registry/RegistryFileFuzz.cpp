// The settings file can be edited by hand or damaged on disk: parsing any
// bytes must either fail cleanly or give a store that survives being written
// and read again unchanged.
#include "platform/registry/RegistryFile.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view text(reinterpret_cast<const char*>(data), size);
    Platform::RegistryStore first;
    std::string error;
    if (!Platform::ParseRegistryFile(text, first, error)) {
        if (error.empty() || !first.Keys().empty())
            std::abort();
        return 0;
    }
    std::string written = Platform::FormatRegistryFile(first);
    Platform::RegistryStore second;
    if (!Platform::ParseRegistryFile(written, second, error) || !(second == first))
        std::abort();
    if (Platform::FormatRegistryFile(second) != written)
        std::abort();
    return 0;
}
