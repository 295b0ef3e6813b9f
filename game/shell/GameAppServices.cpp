// The game application's services to the rest of the game: volumes, custom
// cursors and focus, screen modes, the per-update work and the language.
#include "game/shell/GameApp.h"

#include "game/shell/AmbientSounds.h"
#include "game/shell/BaseBoard.h"
#include "game/shell/MusicPlaylist.h"
#include "game/shell/ProfileManager.h"
#include "game/shell/Scenario.h"
#include "game/shell/SceneService.h"
#include "resources/ini/LangTable.h"
#include "resources/pak/PakInterface.h"
#include "widgets/Dialog.h"

#include <algorithm>
#include <list>

namespace Tandry {

namespace {

// The ambient sets advance by a fixed step, whatever the frame time.
constexpr float kAmbientStep = 0.01f;

} // namespace

void GameApp::SetSfxVolume(double volume)
{
    // The mixer stays at full volume (muting still silences it); every game
    // sound is played at the kept volume instead.
    TandryAppBase::SetSfxVolume(1.0);
    mSfxVolume = volume;
}

void GameApp::SetCustomCursorsEnabled(bool enabled)
{
    TandryAppBase::SetCustomCursorsEnabled(enabled);
    mCustomCursorsChoice = enabled;
}

void GameApp::OnAppFocusLost()
{
    // The framework's own setter: the user's choice is kept for the return.
    TandryAppBase::SetCustomCursorsEnabled(false);
    if (mCurrentBoard != nullptr)
        mCurrentBoard->Pause();
}

void GameApp::OnAppFocusGained()
{
    TandryAppBase::SetCustomCursorsEnabled(mCustomCursorsChoice);
    if (mCurrentBoard != nullptr)
        mCurrentBoard->Resume();
}

void GameApp::ChangeScreenMode(bool windowed, bool is3D, bool force)
{
    TandryAppBase::ChangeScreenMode(windowed, is3D, force);

    // The display's set-up may change the mode before the start-up has made
    // the store; there is no profile then.
    ProfileManager* profiles = FindProfileManager();
    if (profiles != nullptr && !profiles->GetCurrentName().empty())
        profiles->SetValue("Options", "FullScreen", windowed ? "0" : "1");

    // A hook may close dialogs: walk a copy, and skip those no longer open.
    const std::list<Dialog*> dialogs = mDialogList;
    for (Dialog* dialog : dialogs)
        if (std::find(mDialogList.begin(), mDialogList.end(), dialog) != mDialogList.end())
            dialog->ScreenModeChanged(windowed);

    // While the lock holds, setting the shown kind again would replace the
    // kind asked for meanwhile; the shown one is still in the slots.
    if (mCursorLocked)
        ApplyCursor();
    else
        SetCursorType(mCursorType);

    if (mCurrentBoard != nullptr)
        mCurrentBoard->ScreenModeChanged(windowed);
}

void GameApp::UpdateTick()
{
    TandryAppBase::UpdateTick();
    if (mMusicPlaylist != nullptr)
        mMusicPlaylist->Update();
    AmbientSounds::UpdateAll(kAmbientStep);
}

void GameApp::SetLanguage(const std::string& name)
{
    mLanguage = name;
    if (PakInterface* pak = GetSharedPakInterface())
        pak->SetPrefixFolder(name.empty() ? std::string() : "data\\" + name + "\\");
    ReloadLanguageTexts();
}

void ReloadLanguageTexts()
{
    ReloadLangTable(GetLangTable());
    SceneService* scenes = GetSceneService();
    if (scenes == nullptr)
        return;
    for (const std::string& scene : CollectClusterScenes())
        scenes->ReloadSceneTexts(scene);
}

} // namespace Tandry
