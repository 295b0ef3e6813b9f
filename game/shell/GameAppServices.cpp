// The game application's services to the rest of the game: volumes, custom
// cursors and focus, screen modes, the per-update work and the language.
#include "game/shell/GameApp.h"

namespace Tandry {

// TODO: every body here is the framework's until the game's services are built.
void GameApp::SetSfxVolume(double volume)
{
    TandryAppBase::SetSfxVolume(volume);
}

void GameApp::SetCustomCursorsEnabled(bool enabled)
{
    TandryAppBase::SetCustomCursorsEnabled(enabled);
}

void GameApp::OnAppFocusLost()
{
    TandryAppBase::OnAppFocusLost();
}

void GameApp::OnAppFocusGained()
{
    TandryAppBase::OnAppFocusGained();
}

void GameApp::ChangeScreenMode(bool windowed, bool is3D, bool force)
{
    TandryAppBase::ChangeScreenMode(windowed, is3D, force);
}

void GameApp::UpdateTick()
{
    TandryAppBase::UpdateTick();
}

void GameApp::SetLanguage(const std::string& name)
{
    mLanguage = name;
}

void ReloadLanguageTexts() {}

} // namespace Tandry
