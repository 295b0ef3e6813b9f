#include "particles/EmitterGroup.h"

#include "platform/particlelib/ParticleLibrary.h"

namespace Tandry {

EmitterGroup::~EmitterGroup()
{
    for (int emitter : mEmitters)
        Platform::Magic_UnloadEmitter(emitter);
}

} // namespace Tandry
