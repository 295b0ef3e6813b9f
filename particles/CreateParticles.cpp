#include "particles/CreateParticles.h"

#include <memory>

#include "particles/Particles.h"
#include "particles/Particles2.h"

namespace Tandry {

ParticlesCommon* CreateParticles(const std::string& name)
{
    auto own = std::make_unique<Particles>(name);
    if (own->IsLoaded())
        return own.release();
    return new Particles2(name);
}

ParticlesCommon* CloneParticles(ParticlesCommon* effect)
{
    if (effect == nullptr)
        return nullptr;
    if (effect->IsOwnEngine()) {
        const auto* own = static_cast<Particles*>(effect);
        return new Particles(own->Params(), own->GetImage());
    }
    return new Particles2(*static_cast<Particles2*>(effect));
}

} // namespace Tandry
