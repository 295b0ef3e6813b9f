// Loading a sound record into the lowest free id of the application's sound
// manager, with the record's base volume and pan.
#include "resources/manager/ResourceManager.h"

#include "audio/SoundManager.h"
#include "resources/manager/ResourceHost.h"
#include "util/SectionProfilerScope.h"

namespace Tandry {

bool ResourceManager::LoadSound(SoundRes* record)
{
    SectionProfilerScope section("ResourceManager:LoadSound");

    SoundManager* sounds = mApp != nullptr ? mApp->GetResourceSoundManager() : nullptr;
    // Before start-up has made the sound manager there is nothing to load into.
    if (sounds == nullptr)
        return Fail("Failed to load sound: " + record->path);
    const int id = sounds->FindFreeSoundId();
    if (id < 0)
        return Fail("Out of free sound ids");
    if (!sounds->LoadSoundIntoSlot(id, record->path))
        return Fail("Failed to load sound: " + record->path);
    if (record->volume >= 0.0)
        sounds->SetSoundDefaultVolume(id, record->volume);
    if (record->pan != 0)
        sounds->SetSoundDefaultPan(id, record->pan);
    record->soundId = id;
    ResourceLoadedHook(record);
    return true;
}

} // namespace Tandry
