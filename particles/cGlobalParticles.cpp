#include "particles/cGlobalParticles.h"

#include "particles/CreateParticles.h"
#include "particles/GlobalParticleRef.h"
#include "particles/ParticlePool.h"
#include "particles/ParticlesCommon.h"
#include "platform/particlelib/ParticleLibrary.h"

namespace Tandry {

void ReleaseParticleEntry(GlobalParticleEntry& entry)
{
    if (entry.handle != nullptr) {
        entry.handle->effect = nullptr;
        if (entry.handle->managerOwned)
            delete entry.handle;
        entry.handle = nullptr;
    }
    delete entry.effect;
    entry.effect = nullptr;
}

cGlobalParticles::cGlobalParticles()
{
    // Effects left at exit give their particles back to the pool and their
    // emitters to the library, so both must be built first and outlive this.
    ParticlePool::Global();
    Platform::ParticleLibraryCallLog();
    mouseVisible = false;
    // Above the boards and panels of order 0 whenever they are added.
    zOrder = 1;
}

cGlobalParticles::~cGlobalParticles()
{
    ClearActive();
    ClearNamed();
}

cGlobalParticles& cGlobalParticles::Instance()
{
    static cGlobalParticles instance;
    return instance;
}

GlobalParticleRef* cGlobalParticles::Spawn(const std::string& name, bool managerOwned)
{
    auto it = mPrototypes.find(name);
    if (it == mPrototypes.end())
        it = mPrototypes.emplace(name, CreateParticles(name)).first;
    if (it->second == nullptr)
        return nullptr;
    ParticlesCommon* effect = CloneParticles(it->second);
    auto* handle = new GlobalParticleRef(effect, managerOwned);
    mRunning.push_back({handle, effect});
    return handle;
}

void cGlobalParticles::Update()
{
    if (!enabled)
        return;
    for (auto it = mRunning.end(); it != mRunning.begin();) {
        --it;
        if (it->effect == nullptr)
            continue;
        if (it->handle == nullptr || !it->handle->frozen)
            it->effect->Update(0.01f);
        if (it->effect->IsFinished()) {
            ReleaseParticleEntry(*it);
            it = mRunning.erase(it);
        }
    }
    dirty = true;
}

void cGlobalParticles::Draw(Graphics* g)
{
    for (const GlobalParticleEntry& entry : mRunning) {
        if (entry.effect == nullptr || entry.effect->IsFinished())
            continue;
        if (entry.handle == nullptr || !entry.handle->hidden)
            entry.effect->Draw(g);
    }
}

void cGlobalParticles::ClearActive()
{
    for (GlobalParticleEntry& entry : mRunning)
        ReleaseParticleEntry(entry);
    mRunning.clear();
}

void cGlobalParticles::ClearNamed()
{
    for (auto& [name, prototype] : mPrototypes)
        delete prototype;
    mPrototypes.clear();
}

void cGlobalParticles::ForgetHandle(const GlobalParticleRef* handle)
{
    for (GlobalParticleEntry& entry : mRunning) {
        if (entry.handle == handle)
            entry.handle = nullptr;
    }
}

void cGlobalParticles::ResetForTests()
{
    ClearActive();
    ClearNamed();
    enabled = true;
}

} // namespace Tandry
