#include "particles/ParticleEffectFiles.h"

#include "platform/fs/FileFinder.h"
#include "platform/particlelib/ParticleLibrary.h"

namespace Tandry {

namespace {

struct WrapperState {
    std::vector<std::unique_ptr<EmitterFile>> files;
    std::unique_ptr<Particles2_TextureManager> textures;
};

WrapperState& State()
{
    static WrapperState state;
    return state;
}

} // namespace

void LoadParticleEffectFiles()
{
    if (!State().textures)
        State().textures = std::make_unique<Particles2_TextureManager>();
    Platform::FindData data;
    auto finder = Platform::FileFinder::First("res\\*.ptc", data);
    for (bool more = finder != nullptr; more; more = finder->Next(data)) {
        if (data.attributes & Platform::kFileAttributeDirectory)
            continue;
        int handle = 0;
        if (Platform::Magic_OpenFile("res\\" + data.name, &handle) == Platform::kMagicSuccess)
            AddParticleEffectFile(handle);
    }
}

void AddParticleEffectFile(int handle)
{
    if (!State().textures)
        State().textures = std::make_unique<Particles2_TextureManager>();
    State().files.push_back(std::make_unique<EmitterFile>(handle));
}

void FreeParticleEffectFiles()
{
    State().textures.reset();
    State().files.clear();
}

const std::vector<std::unique_ptr<EmitterFile>>& ParticleEffectFiles()
{
    return State().files;
}

Particles2_TextureManager* ParticleTextureManager()
{
    return State().textures.get();
}

} // namespace Tandry
