#include "platform/particlelib/ParticleLibrary.h"

#include <cstdio>
#include <map>
#include <memory>

#include "platform/fs/FileOps.h"
#include "platform/particlelib/LibraryEmitter.h"
#include "platform/particlelib/PtcParser.h"
#include "platform/particlelib/PtcTextures.h"

namespace Platform {

namespace {

// An effects file with the pixel blocks of its textures, shared by the open
// file and every emitter loaded from it.
struct LoadedFile : PtcFile {
    std::map<uint32_t, std::vector<uint8_t>> blocks;
};

struct EffectsFile {
    std::shared_ptr<const LoadedFile> data;
    // Folder indices from the root (never empty: the root is 0).
    std::vector<size_t> path{0};
    // Per folder: the next entry to list and the mode of its listing.
    std::map<size_t, std::pair<size_t, int>> cursors;
};

struct LockedType {
    LibraryEmitter* emitter = nullptr;
    size_t type = 0;
    std::vector<MagicTexture> textures;
    size_t next = 0;
    // The particle the walk returned last, or none.
    bool hasLast = false;
    size_t last = 0;
    MagicParticle view;
};

struct LibraryState {
    int nextHandle = 1;
    std::map<int, EffectsFile> files;
    std::map<int, std::unique_ptr<LibraryEmitter>> emitters;
    LockedType locked;
    std::string lastError;
    bool logging = false;
    std::vector<std::string> calls;
};

LibraryState& State()
{
    static LibraryState state;
    return state;
}

void Log(const char* call)
{
    if (State().logging)
        State().calls.emplace_back(call);
}

EffectsFile* FileOf(int handle)
{
    auto it = State().files.find(handle);
    return it == State().files.end() ? nullptr : &it->second;
}

LibraryEmitter* EmitterOf(int handle)
{
    auto it = State().emitters.find(handle);
    return it == State().emitters.end() ? nullptr : it->second.get();
}

int AddEmitter(std::unique_ptr<LibraryEmitter> emitter)
{
    const int handle = State().nextHandle++;
    State().emitters.emplace(handle, std::move(emitter));
    return handle;
}

void Unlock()
{
    State().locked = LockedType{};
}

bool ListNext(EffectsFile& file, MagicFindData* data)
{
    const size_t folder = file.path.back();
    auto& [cursor, mode] = file.cursors[folder];
    const PtcFolder& f = file.data->folders[folder];
    while (cursor < f.entries.size()) {
        const PtcFolder::Entry entry = f.entries[cursor++];
        if (entry.isFolder && (mode & kMagicFindFolders)) {
            data->name = file.data->folders[entry.index].name;
            data->flags = 0;
            return true;
        }
        if (!entry.isFolder && (mode & kMagicFindEmitters)) {
            data->name = file.data->emitters[entry.index].name;
            data->flags = kMagicFindEmitter;
            return true;
        }
    }
    return false;
}

} // namespace

int OpenParticleFileBytes(const std::string& name, std::span<const uint8_t> bytes, int* file)
{
    if (file != nullptr)
        *file = 0;
    auto loaded = std::make_shared<LoadedFile>();
    std::string error;
    if (file == nullptr || !ParsePtcFile(bytes, *loaded, error)) {
        State().lastError = name + ": " + (file == nullptr ? "no handle to fill" : error);
        return kMagicError;
    }
    for (const PtcTexture& t : loaded->textures)
        loaded->blocks.emplace(t.id, DrawTextureBlock(t));
    *file = State().nextHandle++;
    State().files[*file].data = std::move(loaded);
    return kMagicSuccess;
}

int Magic_OpenFile(const std::string& path, int* file)
{
    Log("Magic_OpenFile");
    if (file != nullptr)
        *file = 0;
    FILE* f = Platform::OpenFile(path, "rb");
    if (f == nullptr) {
        State().lastError = path + ": cannot be opened";
        return kMagicError;
    }
    std::vector<uint8_t> bytes;
    uint8_t chunk[4096];
    size_t got;
    // One byte past the limit is enough for the parser to refuse the file.
    while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0 && bytes.size() <= PtcLimits::kMaxFileBytes)
        bytes.insert(bytes.end(), chunk, chunk + got);
    std::fclose(f);
    return OpenParticleFileBytes(path, bytes, file);
}

int Magic_CloseFile(int file)
{
    Log("Magic_CloseFile");
    // Emitters loaded from it keep the definitions they share.
    return State().files.erase(file) ? kMagicSuccess : kMagicError;
}

bool Magic_FindFirst(int file, MagicFindData* data, int mode)
{
    Log("Magic_FindFirst");
    EffectsFile* f = FileOf(file);
    if (f == nullptr || data == nullptr)
        return false;
    f->cursors[f->path.back()] = {0, mode};
    return ListNext(*f, data);
}

bool Magic_FindNext(int file, MagicFindData* data)
{
    Log("Magic_FindNext");
    EffectsFile* f = FileOf(file);
    if (f == nullptr || data == nullptr)
        return false;
    return ListNext(*f, data);
}

int Magic_SetCurrentFolder(int file, const std::string& folder)
{
    Log("Magic_SetCurrentFolder");
    EffectsFile* f = FileOf(file);
    if (f == nullptr)
        return kMagicError;
    if (folder == "/") {
        f->path.resize(1);
        return kMagicSuccess;
    }
    for (const PtcFolder::Entry& entry : f->data->folders[f->path.back()].entries) {
        if (entry.isFolder && f->data->folders[entry.index].name == folder) {
            f->path.push_back(entry.index);
            return kMagicSuccess;
        }
    }
    return kMagicError;
}

int Magic_LoadEmitter(int file, const std::string& name, int* emitter)
{
    Log("Magic_LoadEmitter");
    if (emitter == nullptr)
        return kMagicError;
    *emitter = 0;
    EffectsFile* f = FileOf(file);
    if (f == nullptr)
        return kMagicError;
    for (const PtcEmitter& def : f->data->emitters) {
        if (def.name == name) {
            *emitter = AddEmitter(std::make_unique<LibraryEmitter>(f->data, &def));
            return kMagicSuccess;
        }
    }
    return kMagicError;
}

int Magic_DuplicateEmitter(int emitter, int* duplicate)
{
    Log("Magic_DuplicateEmitter");
    if (duplicate == nullptr)
        return kMagicError;
    *duplicate = 0;
    LibraryEmitter* e = EmitterOf(emitter);
    if (e == nullptr)
        return kMagicError;
    *duplicate = AddEmitter(e->Duplicate());
    return kMagicSuccess;
}

int Magic_UnloadEmitter(int emitter)
{
    Log("Magic_UnloadEmitter");
    LibraryEmitter* e = EmitterOf(emitter);
    if (e == nullptr)
        return kMagicError;
    if (State().locked.emitter == e)
        Unlock();
    State().emitters.erase(emitter);
    return kMagicSuccess;
}

bool Magic_Update(int emitter, double ms)
{
    Log("Magic_Update");
    LibraryEmitter* e = EmitterOf(emitter);
    if (e == nullptr)
        return false;
    if (State().locked.emitter == e)
        Unlock();
    return e->Update(ms);
}

void Magic_SetPosition(int emitter, double ms)
{
    Log("Magic_SetPosition");
    LibraryEmitter* e = EmitterOf(emitter);
    if (e == nullptr)
        return;
    if (State().locked.emitter == e)
        Unlock();
    e->Rewind();
    if (ms > 0.0)
        e->Update(ms);
}

void Magic_SetInterrupt(int emitter, int interrupt)
{
    Log("Magic_SetInterrupt");
    if (LibraryEmitter* e = EmitterOf(emitter))
        e->SetInterrupt(interrupt != 0);
}

void Magic_SetLoopMode(int emitter, int mode)
{
    Log("Magic_SetLoopMode");
    if (LibraryEmitter* e = EmitterOf(emitter))
        e->SetLoopMode(mode);
}

int Magic_GetLoopMode(int emitter)
{
    Log("Magic_GetLoopMode");
    LibraryEmitter* e = EmitterOf(emitter);
    return e ? e->LoopMode() : 0;
}

bool Magic_IsInterpolationMode(int emitter)
{
    Log("Magic_IsInterpolationMode");
    LibraryEmitter* e = EmitterOf(emitter);
    return e ? e->Definition().interpolation : false;
}

double Magic_GetUpdateTime(int emitter)
{
    Log("Magic_GetUpdateTime");
    LibraryEmitter* e = EmitterOf(emitter);
    return e ? e->Definition().updateMs : 10.0;
}

int Magic_GetParticlesTypeCount(int emitter)
{
    Log("Magic_GetParticlesTypeCount");
    LibraryEmitter* e = EmitterOf(emitter);
    return e ? static_cast<int>(e->TypeCount()) : 0;
}

void Magic_GetEmitterPosition(int emitter, float* x, float* y)
{
    Log("Magic_GetEmitterPosition");
    LibraryEmitter* e = EmitterOf(emitter);
    if (x != nullptr)
        *x = e ? e->Definition().x : 0.0f;
    if (y != nullptr)
        *y = e ? e->Definition().y : 0.0f;
}

int Magic_LockParticlesType(int emitter, int type)
{
    Log("Magic_LockParticlesType");
    Unlock();
    LibraryEmitter* e = EmitterOf(emitter);
    if (e == nullptr || type < 0 || static_cast<size_t>(type) >= e->TypeCount())
        return kMagicError;
    LockedType& locked = State().locked;
    locked.emitter = e;
    locked.type = static_cast<size_t>(type);
    const std::vector<uint32_t>& ids = e->Definition().types[locked.type].textures;
    auto* file = static_cast<const LoadedFile*>(&e->File());
    std::vector<int> widths;
    std::vector<int> heights;
    for (uint32_t id : ids) {
        const int size = file->FindTexture(id)->size;
        widths.push_back(size);
        heights.push_back(size);
    }
    const FramePage page = LayOutFrames(widths, heights);
    const auto pageWidth = static_cast<float>(page.width);
    const auto pageHeight = static_cast<float>(page.height);
    for (size_t i = 0; i < ids.size(); ++i) {
        MagicTexture t;
        t.id = ids[i];
        t.data = file->blocks.at(ids[i]).data();
        t.left = static_cast<float>(page.left[i]) / pageWidth;
        t.right = static_cast<float>(page.left[i] + widths[i]) / pageWidth;
        t.top = 0.0f;
        t.bottom = static_cast<float>(heights[i]) / pageHeight;
        t.frameWidth = widths[i];
        t.frameHeight = heights[i];
        t.textureWidth = page.width;
        t.textureHeight = page.height;
        locked.textures.push_back(t);
    }
    return kMagicSuccess;
}

void Magic_UnlockParticlesType()
{
    Log("Magic_UnlockParticlesType");
    Unlock();
}

int Magic_GetTextureCount()
{
    Log("Magic_GetTextureCount");
    return static_cast<int>(State().locked.textures.size());
}

const MagicTexture* Magic_GetTexture(int index)
{
    Log("Magic_GetTexture");
    const std::vector<MagicTexture>& textures = State().locked.textures;
    if (index < 0 || static_cast<size_t>(index) >= textures.size())
        return nullptr;
    return &textures[static_cast<size_t>(index)];
}

int Magic_GetTextureID()
{
    Log("Magic_GetTextureID");
    const LockedType& locked = State().locked;
    return locked.emitter ? locked.emitter->TextureId(locked.type) : 0;
}

void Magic_SetTextureID(int id)
{
    Log("Magic_SetTextureID");
    LockedType& locked = State().locked;
    if (locked.emitter != nullptr)
        locked.emitter->TextureId(locked.type) = id;
}

bool Magic_IsIntensive()
{
    Log("Magic_IsIntensive");
    const LockedType& locked = State().locked;
    return locked.emitter ? locked.emitter->Definition().types[locked.type].intensive : false;
}

const MagicParticle* Magic_GetNextParticle()
{
    Log("Magic_GetNextParticle");
    LockedType& locked = State().locked;
    if (locked.emitter == nullptr || locked.next >= locked.emitter->ParticleCount(locked.type)) {
        locked.hasLast = false;
        return nullptr;
    }
    locked.last = locked.next++;
    locked.hasLast = true;
    locked.view = locked.emitter->View(locked.type, locked.last);
    return &locked.view;
}

void Magic_MoveParticle(float dx, float dy)
{
    Log("Magic_MoveParticle");
    LockedType& locked = State().locked;
    if (locked.emitter != nullptr && locked.hasLast) {
        locked.emitter->Move(locked.type, locked.last, dx, dy);
        locked.view.x += dx;
        locked.view.y += dy;
    }
}

const std::string& ParticleLibraryLastError()
{
    return State().lastError;
}

const std::vector<std::string>& ParticleLibraryCallLog()
{
    return State().calls;
}

void StartParticleLibraryCallLog()
{
    State().calls.clear();
    State().logging = true;
}

void ResetParticleLibrary()
{
    State() = LibraryState{};
}

} // namespace Platform
