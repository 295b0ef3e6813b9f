// The game's settings: its defaults before the registry is read and the
// values it keeps there besides the framework's.
#include "game/shell/GameApp.h"

namespace Tandry {

// TODO: the game's defaults, "AmbientVolume" and the custom-cursors choice come with the game's start-up.
void GameApp::OnBeforeSettingsLoad()
{
    TandryAppBase::OnBeforeSettingsLoad();
}

void GameApp::LoadSettingsFromRegistry()
{
    TandryAppBase::LoadSettingsFromRegistry();
}

void GameApp::SaveSettingsToRegistry()
{
    TandryAppBase::SaveSettingsToRegistry();
}

} // namespace Tandry
