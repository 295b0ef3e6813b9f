// The registry kept in one text file (RegistryFile.h), read once at start.
// Changes stay in memory until a flush (after each settings save, at shutdown,
// and a second after a lone change), which writes the whole file through a
// safe write, so a crash or a full disk never loses the previous copy. A file
// without its closing line is taken with a note on the debugger output. A
// damaged file is reported there and renamed aside, never overwritten, and the
// store starts empty: the first copy set aside is "<file>.corrupt", later ones
// "<file>.corrupt.1", ".2" and so on, so one never replaces another. Without a
// file path the store lives in memory only.
#pragma once

#include "platform/registry/Registry.h"

#include <string>

namespace Platform {

class FileRegistry : public Registry {
public:
    // An empty path keeps the store in memory.
    explicit FileRegistry(std::string filePath);
    // Whatever is still unsaved is written on the way out.
    ~FileRegistry() override;
    FileRegistry(const FileRegistry&) = delete;
    FileRegistry& operator=(const FileRegistry&) = delete;

    const std::string& GetFilePath() const { return mFilePath; }

protected:
    bool Persist(const RegistryStore& store) override;

private:
    void Load();
    void SetAside(const std::string& error);

    std::string mFilePath;
    bool mWritable = true; // false once a file we could not read or move aside must be kept as it is
};

} // namespace Platform
