#include "particles/EmitterFile.h"

#include "platform/particlelib/ParticleLibrary.h"

namespace Tandry {

using namespace Platform;

EmitterFile::EmitterFile(int handle) : mHandle(handle)
{
    std::vector<std::string> path;
    MagicFindData entry;
    for (bool more = Magic_FindFirst(mHandle, &entry, kMagicFindAll); more; more = Magic_FindNext(mHandle, &entry)) {
        auto group = std::make_unique<EmitterGroup>();
        if (entry.flags & kMagicFindEmitter) {
            LoadInto(entry.name, *group);
        } else {
            path.assign(1, entry.name);
            EnterPath(path);
            ScanFolder(path, *group);
            Magic_SetCurrentFolder(mHandle, "/");
        }
        if (!group->Empty())
            mGroups.push_back(std::move(group));
    }
}

EmitterFile::~EmitterFile()
{
    Magic_CloseFile(mHandle);
}

void EmitterFile::LoadInto(const std::string& name, EmitterGroup& group)
{
    int emitter = 0;
    if (Magic_LoadEmitter(mHandle, name, &emitter) == kMagicSuccess)
        group.Add(emitter);
}

void EmitterFile::EnterPath(const std::vector<std::string>& path)
{
    Magic_SetCurrentFolder(mHandle, "/");
    for (const std::string& folder : path)
        Magic_SetCurrentFolder(mHandle, folder);
}

void EmitterFile::ScanFolder(std::vector<std::string>& path, EmitterGroup& group)
{
    MagicFindData entry;
    for (bool more = Magic_FindFirst(mHandle, &entry, kMagicFindAll); more; more = Magic_FindNext(mHandle, &entry)) {
        if (entry.flags & kMagicFindEmitter) {
            LoadInto(entry.name, group);
            continue;
        }
        // The listing of this folder goes on where it was after the visit,
        // because the library keeps a place per folder.
        path.push_back(entry.name);
        EnterPath(path);
        ScanFolder(path, group);
        path.pop_back();
        EnterPath(path);
    }
}

} // namespace Tandry
