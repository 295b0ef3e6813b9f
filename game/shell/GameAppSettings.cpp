// The game's settings: its defaults before the registry is read and the
// values it keeps there besides the framework's.
#include "game/shell/GameApp.h"

#include "platform/Platform.h"
#include "resources/ini/IniFile.h"

namespace Tandry {

void GameApp::OnBeforeSettingsLoad()
{
    TandryAppBase::OnBeforeSettingsLoad();
    mMusicVolume = 0.3;
    mSfxVolume = 0.3;
    mAmbientVolume = 0.3;
    // The game's own settings are read later in the start-up; the first
    // run's screen mode comes from the data ("main.pak" is added by now).
    IniFile gameIni;
    gameIni.Load("res\\game.ini");
    mWindowed = gameIni.GetString("FullScreen", "Options", "") == "0";
}

void GameApp::LoadSettingsFromRegistry()
{
    TandryAppBase::LoadSettingsFromRegistry();
    mCustomCursorsChoice = mCustomCursorsEnabled;
    if (mRegistryKey.empty())
        return;
    int value = 0;
    if (ReadRegistryDword("AmbientVolume", &value))
        mAmbientVolume = value / 100.0;
}

void GameApp::SaveSettingsToRegistry()
{
    // Focus loss may have forced the framework's flag off; the user's choice is what is kept.
    const bool shown = mCustomCursorsEnabled;
    mCustomCursorsEnabled = mCustomCursorsChoice;
    TandryAppBase::SaveSettingsToRegistry();
    WriteRegistryDword("AmbientVolume", static_cast<int>(mAmbientVolume * 100));
    // The framework's save has flushed already; this value must reach the file too.
    Platform::GetPlatform().GetRegistry().Flush();
    mCustomCursorsEnabled = shown;
}

} // namespace Tandry
