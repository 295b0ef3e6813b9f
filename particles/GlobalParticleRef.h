// The handle a caller gets for an effect that the global effects widget
// (cGlobalParticles) plays: it places and starts the effect, hides or
// freezes it, and sees the effect pointer become null when the effect ends.
// A caller that keeps the handle (managerOwned false) may delete it at any
// time; that stops the effect, which then finishes on its own.
#pragma once

namespace Tandry {

class ParticlesCommon;

class GlobalParticleRef {
public:
    GlobalParticleRef(ParticlesCommon* running, bool owned) : effect(running), managerOwned(owned) {}
    ~GlobalParticleRef();
    GlobalParticleRef(const GlobalParticleRef&) = delete;
    GlobalParticleRef& operator=(const GlobalParticleRef&) = delete;

    // Places the effect and starts its emission.
    void SetPosition(const float position[2]);

    // Null once the effect has ended; the manager owns it.
    ParticlesCommon* effect;
    // The manager deletes the handle when the effect ends.
    bool managerOwned;
    // Not drawn.
    bool hidden = false;
    // Not updated.
    bool frozen = false;
};

// Stops the emission of the handle's effect; its particles finish their lives.
void StopParticles(GlobalParticleRef* handle);

} // namespace Tandry
