// The records' release of what a group load gave them.
#include "audio/SoundManager.h"
#include "graphics/context/Font.h"
#include "resources/manager/ResourceHost.h"
#include "resources/manager/ResourceManager.h"

namespace Tandry {

void ResourceManager::ImageRes::DeleteResource()
{
    image.Release();
}

void ResourceManager::SoundRes::DeleteResource()
{
    if (soundId >= 0) {
        SoundManager* sounds = host != nullptr ? host->GetResourceSoundManager() : nullptr;
        if (sounds != nullptr)
            sounds->FreeSound(soundId);
    }
    soundId = -1;
}

ResourceManager::FontRes::~FontRes()
{
    delete font;
}

void ResourceManager::FontRes::DeleteResource()
{
    delete font;
    font = nullptr;
}

} // namespace Tandry
