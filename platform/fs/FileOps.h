// The file and folder operations that the rest of the code uses instead of the
// C runtime's and Windows' own: opening files, making, removing and renaming
// files and folders, the current folder. Every path goes through the
// PathResolver, so a path written with either separator and any letter case
// reaches the file that exists on disk, and a write to "res\\lang.ini"
// replaces an existing "Res/Lang.ini" instead of creating a second file.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace Platform {

// fopen through the resolver. The mode's first letter (r, w or a, either
// case) and '+' count; files are always binary. A read mode tries the path
// as written first, then as resolved; a folder is never opened as a file.
// Null on failure, with errno set.
FILE* OpenFile(const std::string& path, const char* mode);

bool MakeFolder(const std::string& path);    // false also when it exists
bool RemoveFolder(const std::string& path);  // only an empty folder
bool RemoveFile(const std::string& path);    // a link is removed as a link
// Renames from over to, replacing a file at to in one step.
bool RenameOver(const std::string& from, const std::string& to);

// The current folder, absolute, any length; empty when it cannot be read.
std::string GetCurrentFolder();
bool SetCurrentFolder(const std::string& path);

// kFileAttributeDirectory / kFileAttributeReparsePoint bits of what exists at
// path, or kInvalidFileAttributes when nothing does.
uint32_t GetFileAttributes(const std::string& path);

} // namespace Platform
