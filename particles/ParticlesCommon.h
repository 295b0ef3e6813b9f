// The one interface every particle effect is played through, whichever engine
// stands behind it: the own engine (Particles) or the wrapper over the particle
// library (Particles2). Holders (particle widgets, scene layers, menus, hints)
// place, start, update and draw effects only through these operations.
#pragma once

namespace Tandry {

class Graphics;

class ParticlesCommon {
public:
    ParticlesCommon() = default;
    ParticlesCommon(const ParticlesCommon&) = delete;
    ParticlesCommon& operator=(const ParticlesCommon&) = delete;
    virtual ~ParticlesCommon() = default;

    // Places the emitter without moving live particles, then restarts emission.
    virtual void StartAt(const float position[2]) = 0;
    virtual void Restart() = 0;
    // No further emission; live particles finish their lives.
    virtual void StopEmitting() = 0;
    virtual void SetPosition(const float position[2], bool moveParticles) = 0;
    virtual void SeekTime(float seconds) = 0;
    virtual void SetLooping(bool looping) = 0;
    virtual void Draw(Graphics* g) = 0;
    virtual void Update(float dt) = 0;
    virtual bool IsFinished() = 0;
    virtual bool IsOwnEngine() = 0;
};

} // namespace Tandry
