// The one full-screen widget that plays named effects on request, such as
// the hint effect: each request clones a cached prototype of the name, and
// the widget updates, draws and deletes the running copies until each ends.
// Callers reach it through Instance(); the application adds it to the
// widget tree and empties it at shutdown.
#pragma once

#include <list>
#include <map>
#include <string>

#include "widgets/Widget.h"

namespace Tandry {

class GlobalParticleRef;
class ParticlesCommon;

struct GlobalParticleEntry {
    // Null when the caller's handle was deleted or there never was one.
    GlobalParticleRef* handle = nullptr;
    ParticlesCommon* effect = nullptr;
};

// Clears the handle's effect (deleting the handle when the manager owns it),
// then deletes the entry's effect.
void ReleaseParticleEntry(GlobalParticleEntry& entry);

class cGlobalParticles : public Widget {
public:
    cGlobalParticles();
    ~cGlobalParticles() override;

    // The process-wide instance, made on first use and destroyed at exit.
    static cGlobalParticles& Instance();

    // A copy of the name's prototype (loaded once, also when that fails),
    // not yet started; null when the prototype is null.
    GlobalParticleRef* Spawn(const std::string& name, bool managerOwned);

    // Each running effect one step of 0.01 unless frozen; finished ones are
    // released. Nothing while disabled.
    void Update() override;
    void Draw(Graphics* g) override;

    // Shutdown: releases every running effect / deletes every prototype.
    void ClearActive();
    void ClearNamed();

    // A deleted handle's entry lets go of it.
    void ForgetHandle(const GlobalParticleRef* handle);

    // Tests: both clears, enabled again.
    void ResetForTests();

    const std::list<GlobalParticleEntry>& Running() const { return mRunning; }

    bool enabled = true;

private:
    std::list<GlobalParticleEntry> mRunning;
    std::map<std::string, ParticlesCommon*> mPrototypes;
};

} // namespace Tandry
