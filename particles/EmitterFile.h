// One effects file opened in the particle library at start-up: its handle
// and the groups of emitters its scan loaded. Deleting it closes the file.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "particles/EmitterGroup.h"

namespace Tandry {

class EmitterFile {
public:
    // Takes an opened handle and loads every emitter of the file into groups:
    // one per root emitter, one per root folder that holds any emitter.
    explicit EmitterFile(int handle);
    ~EmitterFile();
    EmitterFile(const EmitterFile&) = delete;
    EmitterFile& operator=(const EmitterFile&) = delete;

    int Handle() const { return mHandle; }
    const std::vector<std::unique_ptr<EmitterGroup>>& Groups() const { return mGroups; }

private:
    // Loads the emitters of the current folder (path from the root) into
    // group, descending into its sub-folders.
    void ScanFolder(std::vector<std::string>& path, EmitterGroup& group);
    void EnterPath(const std::vector<std::string>& path);
    void LoadInto(const std::string& name, EmitterGroup& group);

    int mHandle;
    std::vector<std::unique_ptr<EmitterGroup>> mGroups;
};

} // namespace Tandry
