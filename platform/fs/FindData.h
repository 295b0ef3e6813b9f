// One entry of a folder listing, in the shape that the file layer and its
// callers expect from the Windows find functions: attributes, bare name, the
// three times in FILETIME units (100 ns since 1601-01-01 UTC) and the size.
#pragma once

#include <cstdint>
#include <string>

namespace Platform {

constexpr uint32_t kFileAttributeDirectory = 0x10;
// Set on a symbolic link (with the directory flag when it points at a folder),
// so that tree walks can remove a link instead of descending through it.
constexpr uint32_t kFileAttributeReparsePoint = 0x400;
constexpr uint32_t kInvalidFileAttributes = 0xFFFFFFFFu;

struct FindData {
    uint32_t attributes = 0;
    uint64_t creationTime = 0;
    uint64_t lastAccessTime = 0;
    uint64_t lastWriteTime = 0;
    uint64_t size = 0;
    std::string name;
};

} // namespace Platform
