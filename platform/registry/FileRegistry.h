// The registry kept in one text file (RegistryFile.h), read once at start and
// written again after each change through a safe write, so a crash or a full
// disk never loses the previous copy. A damaged file is reported on the
// debugger output and renamed aside with ".corrupt" appended, never
// overwritten, and the store starts empty. Without a file path the store
// lives in memory only.
#pragma once

#include "platform/registry/Registry.h"

#include <string>

namespace Platform {

class FileRegistry : public Registry {
public:
    // An empty path keeps the store in memory.
    explicit FileRegistry(std::string filePath);

    const std::string& GetFilePath() const { return mFilePath; }

protected:
    bool Persist(const RegistryStore& store) override;

private:
    void Load();

    std::string mFilePath;
    bool mWritable = true; // false once a file we could not read or move aside must be kept as it is
};

} // namespace Platform
