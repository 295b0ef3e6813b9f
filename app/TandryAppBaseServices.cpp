// Small services of the application object: volumes and the counted mute,
// one-shot sounds, the music back end, hiding the application, the loading
// progress, the clipboard, deferred widget deletion and the resets after a
// stall.
#include "app/TandryAppBase.h"

#include "app/AppFactories.h"
#include "app/UserDataDir.h"
#include "audio/MusicInterface.h"
#include "audio/SoundInstance.h"
#include "audio/SoundManager.h"
#include "platform/Platform.h"
#include "platform/window/WindowMessages.h"
#include "util/StringUtils.h"
#include "widgets/Widget.h"
#include "widgets/WidgetManager.h"

#include <algorithm>
#include <climits>

namespace Tandry {

void TandryAppBase::SetMusicVolume(double volume)
{
    mMusicVolume = volume;
    // A hidden application stays silent but keeps the player's volume, which the settings save writes.
    if (mMusicInterface != nullptr)
        mMusicInterface->SetMusicMasterVolume(mMuteCount > 0 || mWindowHidden ? 0.0 : volume);
}

void TandryAppBase::SetSfxVolume(double volume)
{
    mSfxVolume = volume;
    if (mSoundManager != nullptr)
        mSoundManager->SetOverallVolume(mMuteCount > 0 ? 0.0 : volume);
}

double TandryAppBase::GetMusicVolume()
{
    return mMusicVolume;
}

double TandryAppBase::GetSfxVolume()
{
    return mSfxVolume;
}

void TandryAppBase::Mute(bool automatic)
{
    // The count may come from an edited settings file; it is held, not wrapped.
    if (mMuteCount < INT_MAX)
        ++mMuteCount;
    if (automatic && mAutoMuteCount < INT_MAX)
        ++mAutoMuteCount;
    SetMusicVolume(mMusicVolume);
    SetSfxVolume(mSfxVolume);
}

void TandryAppBase::Unmute(bool automatic)
{
    if (mMuteCount > 0) {
        --mMuteCount;
        if (automatic)
            --mAutoMuteCount;
    }
    SetMusicVolume(mMusicVolume);
    SetSfxVolume(mSfxVolume);
}

bool TandryAppBase::IsMuted()
{
    return mMuteCount > 0;
}

double TandryAppBase::GetSystemVolume()
{
    return mSoundManager != nullptr ? mSoundManager->GetSystemVolume() : 0.0;
}

void TandryAppBase::SetSystemVolume(double volume)
{
    if (mSoundManager != nullptr)
        mSoundManager->SetSystemVolume(volume);
}

void TandryAppBase::PlaySoundOnce(int soundId)
{
    if (mSoundManager == nullptr)
        return;
    if (SoundInstance* instance = mSoundManager->NewSoundInstance(soundId))
        instance->Play(false, true);
}

void TandryAppBase::PlaySoundPanned(int soundId, int pan)
{
    if (mSoundManager == nullptr)
        return;
    if (SoundInstance* instance = mSoundManager->NewSoundInstance(soundId)) {
        instance->SetPlayPan(pan);
        instance->Play(false, true);
    }
}

MusicInterface* TandryAppBase::NewMusicInterface(Platform::WindowHandle window)
{
    AppFactories& factories = GetAppFactories();
    if (mNoSound)
        return factories.silentMusic();
    if (mUseFmod)
        return factories.fmodMusic(WideToNarrow(GetUserDataDir()));
    return factories.bassMusic(window);
}

void TandryAppBase::SetCustomCursorsEnabled(bool enabled)
{
    mCustomCursorsEnabled = enabled;
    ApplyCursor();
}

void TandryAppBase::HideAndSilence()
{
    mWindowHidden = true;
    SetMusicVolume(mMusicVolume);
    if (mMainWindow != nullptr)
        Platform::GetPlatform().GetWindows().ShowWindow(mMainWindow, Platform::SW_HIDE);
    ApplyCursor();
}

double TandryAppBase::GetLoadingProgress()
{
    if (mLoadingAcknowledged)
        return 1.0;
    if (!mLoadingThreadStarted || mLoadingTasksTotal <= 0)
        return 0.0;
    const double progress = static_cast<double>(mLoadingTasksDone) / mLoadingTasksTotal;
    return std::clamp(progress, 0.0, 1.0);
}

void TandryAppBase::SetClipboardText(const std::string& text)
{
    if (mPlayingDemo)
        return;
    Platform::GetPlatform().GetClipboard().SetText(text);
}

std::string TandryAppBase::GetClipboardText()
{
    std::string text;
    if (!mPlayingDemo)
        text = Platform::GetPlatform().GetClipboard().GetText().value_or(std::string());
    SyncStringWithDemo(text);
    return text;
}

void TandryAppBase::DeferWidgetDelete(Widget* widget)
{
    mDeferredDeletes.emplace_back(mUpdateDepth, widget);
}

void TandryAppBase::ProcessDeferredDeletes()
{
    // A destructor may hand over further widgets; they are appended and
    // reached by the same walk, so the walk restarts after every deletion.
    for (;;) {
        auto due = std::find_if(mDeferredDeletes.begin(), mDeferredDeletes.end(),
                                [this](const auto& entry) { return entry.first >= mUpdateDepth; });
        if (due == mDeferredDeletes.end())
            return;
        Widget* widget = due->second;
        mDeferredDeletes.erase(due);
        delete widget;
    }
}

void TandryAppBase::ResetUpdateTiming()
{
    mUpdateAccumMs = 0;
    mLastTimingTick = Platform::GetPlatform().GetClock().TimeGetTime();
}

void TandryAppBase::ClearKeyStates()
{
    if (mWidgetManager != nullptr)
        mWidgetManager->keyDown.fill(false);
    mCtrlDown = false;
    mAltDown = false;
}

} // namespace Tandry
