#include "particles/GlobalParticleRef.h"

#include "particles/ParticlesCommon.h"
#include "particles/cGlobalParticles.h"

namespace Tandry {

GlobalParticleRef::~GlobalParticleRef()
{
    // The running entry would otherwise keep a pointer to this handle and
    // read it at the next update.
    if (effect != nullptr) {
        effect->StopEmitting();
        cGlobalParticles::Instance().ForgetHandle(this);
    }
}

void GlobalParticleRef::SetPosition(const float position[2])
{
    if (effect != nullptr)
        effect->StartAt(position);
}

void StopParticles(GlobalParticleRef* handle)
{
    if (handle != nullptr && handle->effect != nullptr)
        handle->effect->StopEmitting();
}

} // namespace Tandry
