// Writes a file so that it is either wholly replaced or left as it was: the
// bytes go to a temporary file in the target's folder, which is flushed to
// disk and then renamed over the target. Every file the program saves (ini
// documents, settings, the registry file, demos, screenshots, packs) is
// written this way, so a crash or a full disk never loses the previous copy.
//
// Either hand over a byte buffer (WriteBytes), or open a SafeWrite, write to
// File() (libpng and libjpeg write to a FILE*), then Commit or Abandon. On any
// failure the temporary file is removed, the old file stays and the answer is
// false. The target path goes through the resolver like every other path.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

namespace Platform {

class SafeWrite {
public:
    // Creates the temporary file; IsOpen() tells whether that worked.
    explicit SafeWrite(const std::string& path);
    // Abandons the write unless it was committed.
    ~SafeWrite();
    SafeWrite(const SafeWrite&) = delete;
    SafeWrite& operator=(const SafeWrite&) = delete;

    bool IsOpen() const { return mFile != nullptr; }
    // The temporary file; the caller writes but never closes it.
    FILE* File() const { return mFile; }

    // Flushes, syncs and renames the temporary file over the target.
    bool Commit();
    // Removes the temporary file; the target is left alone.
    void Abandon();

    static bool WriteBytes(const std::string& path, const void* data, size_t size);

    // Test hook: makes every following commit fail at the write (as a full
    // disk would) or at the rename, until set back to None.
    enum class Fault { None, Write, Rename };
    static void SetFaultForTests(Fault fault);

private:
    std::string mTarget;
    std::string mTemporary;
    FILE* mFile = nullptr;
};

} // namespace Platform
