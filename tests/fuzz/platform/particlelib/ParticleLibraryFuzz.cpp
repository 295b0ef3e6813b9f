// Plays the input as an effects file of the particle library stand-in: the
// parser reads it from memory, the wrapper scans it as it scans the files of
// "res", and each of its first emitters is wrapped, started, moved, updated
// and drawn into a 64 x 64 picture, with a walk over its particles that moves
// each one. The sanitiser build catches reads outside the texture records,
// the frame table or the atlases; the marker check catches writes past the
// picture.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "graphics/context/Graphics.h"
#include "graphics/image/MemoryImage.h"
#include "particles/ParticleEffectFiles.h"
#include "particles/Particles2.h"
#include "platform/particlelib/ParticleLibrary.h"
#include "platform/particlelib/PtcParser.h"
#include "tests/fuzz/FuzzBytes.h"

namespace {

using namespace Tandry;
using namespace Platform;

constexpr size_t kMaxEmitters = 4;
constexpr int kUpdates = 24;
// Drawing is skipped above this many particles, so that an input stays quick.
constexpr int kDrawLimit = 1500;

int WalkAndMove(int emitter, float dx, float dy)
{
    int n = 0;
    for (int type = 0, types = Magic_GetParticlesTypeCount(emitter); type < types; ++type) {
        Magic_LockParticlesType(emitter, type);
        while (const MagicParticle* p = Magic_GetNextParticle()) {
            FuzzCheck(p->frame >= 0 && p->frame < Magic_GetTextureCount());
            Magic_MoveParticle(dx, dy);
            ++n;
        }
        Magic_UnlockParticlesType();
    }
    return n;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ResetParticleLibrary();
    FreeParticleEffectFiles();
    const std::span<const uint8_t> bytes(data, size);

    PtcFile parsed;
    std::string error;
    const bool valid = ParsePtcFile(bytes, parsed, error);
    int handle = 0;
    FuzzCheck((OpenParticleFileBytes("fuzz.ptc", bytes, &handle) == kMagicSuccess) == valid);
    if (!valid) {
        FuzzCheck(handle == 0 && !error.empty());
        return 0;
    }
    AddParticleEffectFile(handle);

    auto canvas = std::make_unique<MemoryImage>(nullptr);
    canvas->Create(64, 64);
    canvas->GetBits();
    Graphics g(canvas.get());
    // The tail of the input steers positions and flags.
    FuzzBytes in(data + size / 2, size - size / 2);
    for (size_t i = 0; i < parsed.emitters.size() && i < kMaxEmitters; ++i) {
        Particles2 effect(parsed.emitters[i].name);
        FuzzCheck(effect.Emitter() != 0);
        const float start[2] = {in.Float(-20, 84), in.Float(-20, 84)};
        effect.StartAt(start);
        effect.SetLooping(in.Bool());
        for (int step = 0; step < kUpdates && !effect.IsFinished(); ++step) {
            effect.Update(0.01f);
            const float to[2] = {in.Float(-40, 100), in.Float(-40, 100)};
            if (in.Byte() % 4 == 0)
                effect.SetPosition(to, in.Bool());
            if (in.Byte() % 16 == 0)
                effect.StopEmitting();
            const int live = WalkAndMove(effect.Emitter(), in.Float(-2, 2), in.Float(-2, 2));
            if (live <= kDrawLimit && step % 4 == 3)
                effect.Draw(&g);
        }
        if (in.Bool())
            effect.SeekTime(in.Float(0, 2));
    }
    FuzzCheck(canvas->mBits[64 * 64] == MemoryImage::kBitsMarker);
    FreeParticleEffectFiles();
    ResetParticleLibrary();
    return 0;
}
