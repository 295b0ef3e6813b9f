// Stand-in for the vendor particle library whose entry points the particle
// wrapper calls: effects files, their folders and emitters, the simulation,
// and the particles and textures of a locked particles type. It reads effects
// files in a text format of our own (see PtcParser.cpp) and draws their
// textures itself. One process-wide state, main thread only; handles are
// ints, 0 is the empty handle, and every call takes an empty or unknown
// handle without harm. Calls answering a status give -1 for success.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace Platform {

constexpr int kMagicSuccess = -1;
constexpr int kMagicError = 0;
// Find-data flag of an emitter; an entry without it is a folder.
constexpr uint32_t kMagicFindEmitter = 4;
// Find modes: bit 0 lists folders, bit 1 emitters.
constexpr int kMagicFindFolders = 1;
constexpr int kMagicFindEmitters = 2;
constexpr int kMagicFindAll = 3;
// The header before the pixels of a texture record.
constexpr size_t kMagicTextureHeaderBytes = 128;

struct MagicFindData {
    std::string name;
    uint32_t flags = 0;
};

// A live particle as the library shows it; position relative to the emitter.
struct MagicParticle {
    float x = 0.0f;
    float y = 0.0f;
    float size = 0.0f;
    // Degrees.
    float angle = 0.0f;
    // 0xAARRGGBB.
    uint32_t color = 0;
    // Index into the locked type's textures.
    int frame = 0;
};

// One texture frame of the locked type; valid until the type is unlocked.
struct MagicTexture {
    // The texture's id in its file.
    uint32_t id = 0;
    // A 128-byte header, then frameWidth x frameHeight 0xAARRGGBB words.
    const uint8_t* data = nullptr;
    // The frame's place on its page, as fractions of the page size.
    float left = 0.0f;
    float top = 0.0f;
    float right = 0.0f;
    float bottom = 0.0f;
    int frameWidth = 0;
    int frameHeight = 0;
    int textureWidth = 0;
    int textureHeight = 0;
    float pivotX = 0.0f;
    float pivotY = 0.0f;
};

// --- Files ---
// Reads the effects file at path from the file system.
int Magic_OpenFile(const std::string& path, int* file);
int Magic_CloseFile(int file);
// Lists the current folder's entries that the mode asks for, in file order.
bool Magic_FindFirst(int file, MagicFindData* data, int mode);
bool Magic_FindNext(int file, MagicFindData* data);
// A child folder of the current folder, or "/" for the root.
int Magic_SetCurrentFolder(int file, const std::string& folder);

// --- Emitters ---
// The first emitter of that name anywhere in the file; *emitter is 0 when none.
int Magic_LoadEmitter(int file, const std::string& name, int* emitter);
// The same definition, loop mode and texture ids, at time 0 without particles.
int Magic_DuplicateEmitter(int emitter, int* duplicate);
int Magic_UnloadEmitter(int emitter);
// Advances by ms; false once the effect is over.
bool Magic_Update(int emitter, double ms);
// Time position; 0 rewinds: no particles, interrupt cleared.
void Magic_SetPosition(int emitter, double ms);
void Magic_SetInterrupt(int emitter, int interrupt);
// 0 runs once, 2 restarts emission at the end of the duration; other values change nothing.
void Magic_SetLoopMode(int emitter, int mode);
int Magic_GetLoopMode(int emitter);
bool Magic_IsInterpolationMode(int emitter);
double Magic_GetUpdateTime(int emitter);
int Magic_GetParticlesTypeCount(int emitter);
void Magic_GetEmitterPosition(int emitter, float* x, float* y);

// --- The locked particles type ---
int Magic_LockParticlesType(int emitter, int type);
void Magic_UnlockParticlesType();
int Magic_GetTextureCount();
const MagicTexture* Magic_GetTexture(int index);
int Magic_GetTextureID();
void Magic_SetTextureID(int id);
bool Magic_IsIntensive();
// The next particle of the walk that locking started; null at the end.
const MagicParticle* Magic_GetNextParticle();
// Moves the particle the walk returned last.
void Magic_MoveParticle(float dx, float dy);

// --- Ours, not the library's ---
// Opens an effects file held in memory; name is only for messages.
int OpenParticleFileBytes(const std::string& name, std::span<const uint8_t> bytes, int* file);
// Why the last open failed.
const std::string& ParticleLibraryLastError();
// Tests: from now on every call above appends its name ("Magic_Update", ...)
// to an emptied log; off at the start and after a reset, since a game would
// log every particle of every frame.
void StartParticleLibraryCallLog();
const std::vector<std::string>& ParticleLibraryCallLog();
// Tests: closes everything and forgets every handle.
void ResetParticleLibrary();

} // namespace Platform
