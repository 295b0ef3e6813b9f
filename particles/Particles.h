// The own particle engine: an effect that simulates its particles itself from
// a 128-byte parameter file ("data\\particles\\" + name, through the file
// layer) and draws them as cels of the shared particle sheet. Its particles
// come from the process-wide ParticlePool. CreateParticles tries it first.
#pragma once

#include <string>

#include "particles/ParticleParams.h"
#include "particles/ParticlesCommon.h"

namespace Tandry {

class Image;
struct Particle;

class Particles : public ParticlesCommon {
public:
    // Reads the effect's parameter file; IsLoaded tells whether it was found
    // and valid. Takes the current sheet.
    explicit Particles(const std::string& name);
    // An effect of these parameters, not emitting, without particles.
    Particles(const ParticleParams& params, Image* image);
    ~Particles() override;

    // The cel sheet every effect made afterwards draws from ("IMAGE_PARTS",
    // bound by the game); not owned. Null, the start value, draws nothing.
    static void SetSheet(Image* sheet);
    static Image* Sheet();

    void StartAt(const float position[2]) override;
    void Restart() override;
    void StopEmitting() override;
    void SetPosition(const float position[2], bool moveParticles) override;
    // The own engine keeps neither a time position nor a loop.
    void SeekTime(float) override {}
    void SetLooping(bool) override {}
    void Draw(Graphics* g) override;
    void Update(float dt) override;
    bool IsFinished() override;
    bool IsOwnEngine() override { return true; }

    bool IsLoaded() const { return mLoaded; }
    const ParticleParams& Params() const { return mParams; }
    Image* GetImage() const { return mImage; }
    int LiveCount() const { return mLiveCount; }
    bool IsEmitting() const { return mClock != kNotEmitting; }
    // The live particles in order of birth.
    const Particle* FirstParticle() const { return mFirstParticle; }

    // Particles born in one update at most, whatever the rate claims.
    static constexpr int kMaxBirthsPerUpdate = 10000;

private:
    static constexpr float kNotEmitting = -2.0f;
    static constexpr float kEndless = -1.0f;

    void Emit(float dt);
    void Birth();
    // Unlinks the particle, gives it back to the pool and returns the next.
    Particle* Kill(Particle* p);
    // The cel the particle shows, or -1 when it lies outside the sheet's grid.
    int CelOf(const Particle& p) const;

    Particle* mFirstParticle = nullptr;
    Particle* mLastParticle = nullptr;
    ParticleParams mParams;
    Image* mImage = nullptr;
    bool mAnimated = false;
    float mClock = kNotEmitting;
    float mEmitRemainder = 0.0f;
    float mLastPosition[2] = {0.0f, 0.0f};
    float mPosition[2] = {0.0f, 0.0f};
    int mLiveCount = 0;
    bool mStopped = false;
    bool mLoaded = false;
};

} // namespace Tandry
