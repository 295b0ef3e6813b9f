// How holders make particle effects by name: the own engine when its
// parameter file exists and is sound, else the vendor-library wrapper; and
// independent copies of a loaded effect. The caller owns what it gets.
#pragma once

#include <string>

namespace Tandry {

class ParticlesCommon;

ParticlesCommon* CreateParticles(const std::string& name);
// Same parameters (or library emitter), not emitting, without particles,
// at the origin; null for null.
ParticlesCommon* CloneParticles(ParticlesCommon* effect);

} // namespace Tandry
