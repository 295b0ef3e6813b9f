#include "platform/registry/RegistrySaveFile.h"

#include <cstdio>
#include <filesystem>
#include <unistd.h>

namespace Platform {

// TODO(safe write): switch to SafeWrite::WriteBytes of platform/fs once it is on main;
// until then a temporary file is written, synced and renamed over the target here.
bool SaveRegistryFile(const std::string& path, const std::string& text, std::string& error)
{
    std::error_code ec;
    std::filesystem::path target(path);
    if (target.has_parent_path())
        std::filesystem::create_directories(target.parent_path(), ec);
    std::string temporary = path + ".tmp";
    FILE* file = std::fopen(temporary.c_str(), "wb");
    if (file == nullptr) {
        error = "cannot create " + temporary;
        return false;
    }
    bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size() && std::fflush(file) == 0 &&
                   fsync(fileno(file)) == 0;
    bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        std::remove(temporary.c_str());
        error = "cannot write " + temporary;
        return false;
    }
    std::filesystem::rename(temporary, path, ec);
    if (ec) {
        std::remove(temporary.c_str());
        error = "cannot replace the file: " + ec.message();
        return false;
    }
    return true;
}

} // namespace Platform
