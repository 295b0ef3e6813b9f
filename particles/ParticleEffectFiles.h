// The process-wide state of the vendor-library wrapper: the effects files
// opened at start-up ("res\\*.ptc", in the sorted order of the folder
// listing) and the texture manager. The game application loads them at
// start-up and frees them at shutdown; Particles2 reads them.
#pragma once

#include <memory>
#include <vector>

#include "particles/EmitterFile.h"
#include "particles/Particles2_TextureManager.h"

namespace Tandry {

// Creates the texture manager and opens and scans every effects file; a file
// the library cannot open is skipped.
void LoadParticleEffectFiles();
// Deletes the texture manager and every effects file. Effects made before
// stay safe to use and delete: their emitters belong to the library.
void FreeParticleEffectFiles();
// Scans a file already opened in the library and appends it (what the load
// does per file).
void AddParticleEffectFile(int handle);

const std::vector<std::unique_ptr<EmitterFile>>& ParticleEffectFiles();
// Null outside Load .. Free.
Particles2_TextureManager* ParticleTextureManager();

} // namespace Tandry
