#include "game/shell/UiSound.h"

#include "app/TandryAppBase.h"
#include "audio/SoundBank.h"

namespace Tandry {

std::string UiSoundName(int kind)
{
    switch (kind) {
    case kUiSoundButtonPress:
    case kUiSoundButtonPress2:
        return "buttonPress";
    case kUiSoundButtonEnter:
        return "buttonEnter";
    case kUiSoundPause:
    case kUiSoundResume:
        return "pause";
    case kUiSoundKeyPick:
        return "KeyPick";
    case kUiSoundKeyPlaceRight:
        return "KeyPlaceRight";
    case kUiSoundKeyPlace:
        return "KeyPlace";
    case kUiSoundSpyMove:
        return "SpyMove";
    default:
        return std::string();
    }
}

void PlayUiSound(int kind)
{
    const std::string name = UiSoundName(kind);
    if (!name.empty())
        PlayUiSoundByName(name);
}

void PlayUiSoundByName(const std::string& name)
{
    // Without an application there is no volume to play at.
    if (gApplication == nullptr)
        return;
    GetUiSoundBank().Play(name, true, false, false, gApplication->GetSfxVolume(), 0.0);
}

} // namespace Tandry
