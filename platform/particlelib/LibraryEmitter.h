// One emitter of the particle library stand-in: its definition from an open
// effects file, its clock, loop mode and interrupt, and the live particles of
// each particles type. The simulation draws from a generator of its own,
// seeded from the emitter's name, so every run of an effect is the same.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/particlelib/ParticleLibrary.h"
#include "platform/particlelib/PtcFile.h"

namespace Platform {

class LibraryEmitter {
public:
    // Live particles of one type at most; births beyond are dropped.
    static constexpr size_t kMaxParticlesPerType = 10000;

    LibraryEmitter(std::shared_ptr<const PtcFile> file, const PtcEmitter* definition);
    // A copy at time 0 without particles, with the same loop mode and texture ids.
    std::unique_ptr<LibraryEmitter> Duplicate() const;

    bool Update(double ms);
    void Rewind();
    void SetInterrupt(bool on) { mInterrupt = on; }
    void SetLoopMode(int mode);
    int LoopMode() const { return mLoopMode; }

    const PtcEmitter& Definition() const { return *mDefinition; }
    const PtcFile& File() const { return *mFile; }
    size_t TypeCount() const { return mTypes.size(); }
    int& TextureId(size_t type) { return mTypes[type].textureId; }
    size_t ParticleCount(size_t type) const { return mTypes[type].particles.size(); }
    // The particle as the library shows it.
    MagicParticle View(size_t type, size_t index) const;
    void Move(size_t type, size_t index, float dx, float dy);

private:
    struct Live {
        float x, y, vx, vy, angle, spin, age, life;
    };
    struct TypeState {
        std::vector<Live> particles;
        double carry = 0.0;
        int textureId = 0;
    };

    float Random01();
    float Between(float a, float b) { return a + (b - a) * Random01(); }
    void Birth(size_t type);

    std::shared_ptr<const PtcFile> mFile;
    const PtcEmitter* mDefinition;
    int mLoopMode;
    bool mInterrupt = false;
    double mTime = 0.0;
    uint32_t mRandom = 1;
    std::vector<TypeState> mTypes;
};

} // namespace Platform
