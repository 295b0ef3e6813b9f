// Start-up, the running phase and shutdown of the application object.
#include "app/TandryAppBase.h"

#include "app/AppFactories.h"
#include "app/AppPaths.h"
#include "app/BuiltInCursors.h"
#include "app/DemoSeam.h"
#include "app/SystemVersion.h"
#include "app/UserDataDir.h"
#include "audio/MusicInterface.h"
#include "audio/SoundBank.h"
#include "audio/SoundManager.h"
#include "graphics/display/DDInterface.h"
#include "platform/Platform.h"
#include "platform/fs/FileOps.h"
#include "platform/window/WindowMessages.h"
#include "resources/pak/PakInterface.h"
#include "util/Format.h"
#include "util/PathUtils.h"
#include "util/RandomGenerator.h"
#include "util/StringUtils.h"
#include "widgets/WidgetManager.h"

namespace Tandry {

namespace {

constexpr int kScreensaverCursorKind = 11;

Platform::CursorHandle MakeCursor(const CursorPicture& picture)
{
    return Platform::GetPlatform().GetCursors().CreateCursor(picture.hotX, picture.hotY, CursorPicture::kSize,
                                                             CursorPicture::kSize, picture.andMask.data(),
                                                             picture.xorMask.data());
}

} // namespace

void TandryAppBase::Init()
{
    Platform::ServiceBundle& platform = Platform::GetPlatform();
    Platform::WindowSystem& windows = platform.GetWindows();

    mPrimaryThreadId = platform.GetThreads().GetCurrentThreadId();
    if (mShutdown)
        return;

    if (!platform.GetProcess().AreRuntimesPresent()) {
        platform.GetDialogs().MessageBoxW(
            nullptr,
            LookupString("APP_REQUIRES_DIRECTX",
                         L"This application requires DirectX to run.  You can get DirectX at "
                         L"http://www.microsoft.com/directx"),
            LookupString("YOU_NEED_DIRECTX", L"You need DirectX"), Platform::MB_ICONERROR);
        DoExit(0);
    }

    if (IsVistaOrLater()) {
        if (std::optional<std::string> appData = platform.GetFolders().GetAppDataFolder()) {
            const std::string folder = StripTrailingSlash(*appData) + "\\" + mCompanyName + "\\" + mProductName;
            SetUserDataDir(WidenString(folder + "\\"));
            if (!IsAbsoluteDemoPath(mDemoFileName))
                mDemoFileName = WideToNarrow(GetUserDataDir()) + mDemoFileName;
        }
    }

    if (!mCommandLineParsed)
        ReadCommandLine();

    if (!OverrideChangeDir(mChangeDir))
        Platform::SetCurrentFolder(mChangeDir);

    GetSharedPakInterface()->AddPakFile("main.pak");

    // The demo file is read before the settings, because a recording starts
    // with the registry reads of the settings load: read later, the settings
    // would find an empty stream and every later value would be misaligned.
    if (mPlayingDemo) {
        std::string error;
        if (!ReadDemoFile(error)) {
            mPlayingDemo = false;
            ShowErrorPopupA(error);
            DoExit(0);
        }
    }

    OnBeforeSettingsLoad();
    LoadSettingsFromRegistry();

    if (mScreensaverMode)
        mSingleInstance = false;

    Platform::SingleInstance& instance = platform.GetSingleInstance();
    mNotifyMessage = instance.RegisterWindowMessage("Notify" + mProductName);
    const Platform::MutexResult mutex = instance.CreateMutex(mProductName + "Mutex");
    mMutex = mutex.handle;
    if (mutex.alreadyExisted)
        HandleSecondInstance();

    // A played demo has already put its recorded seed in place.
    if (!mPlayingDemo)
        mRandomSeed = platform.GetClock().GetTickCount();
    RandomGenerator::Global().Seed(mRandomSeed);

    CrtSeed(platform.GetClock().GetTickCount());

    mUnicodeWindows = !IsWindows9x();
    Platform::WindowClass mainClass;
    mainClass.name = "MainWindow";
    mainClass.style = Platform::CS_DBLCLKS;
    mainClass.proc = &TandryAppBase::MainWindowProc;
    mainClass.iconResource = Platform::kProgramIconResource;
    windows.RegisterWindowClass(mainClass);
    Platform::WindowClass invisClass;
    invisClass.name = "InvisWindow";
    invisClass.proc = &TandryAppBase::MainWindowProc;
    windows.RegisterWindowClass(invisClass);

    mInvisWindow = windows.CreateWindow("InvisWindow", mWindowTitle, 0, 0, 0, 0, 0, 0);
    windows.SetWindowUserData(mInvisWindow, this);

    mHandCursor = MakeCursor(HandCursorPicture());
    mDragCursor = MakeCursor(DragCursorPicture());
    OnCursorsCreated();

    mWidgetManager->width = mWidth;
    mWidgetManager->height = mHeight;
    mWidgetManager->drawOffsetRect = Rect(0, 0, mWidth, mHeight);
    mWidgetManager->mouseRect = Rect(0, 0, mWidth, mHeight);

    if (mWidth >= windows.GetSystemMetrics(Platform::SM_CXSCREEN) ||
        mHeight >= windows.GetSystemMetrics(Platform::SM_CYSCREEN)) {
        mWindowed = false;
        mForceFullScreen = true;
    }

    CreateAppWindow();

    if (mPlayingDemo)
        mDemoSeam->ReplayDisplayState();

    if (mSoundManager == nullptr)
        mSoundManager = GetAppFactories().soundManager(mNoSound ? nullptr : mMainWindow, mUseFmod);
    GetUiSoundBank().SetSoundManager(mSoundManager);

    SetSfxVolume(mSfxVolume);
    mMusicInterface = NewMusicInterface(mInvisWindow);
    SetMusicVolume(mMusicVolume);

    if (mScreensaverMode) {
        mCursorKind = kScreensaverCursorKind;
        ApplyCursor();
    }

    OnInitDone();
    mInitDone = true;
}

void TandryAppBase::Start()
{
    if (mShutdown)
        return;

    StartCursorThread();
    if (mAutoStartLoadingThread)
        LaunchLoadingThread();

    Platform::ServiceBundle& platform = Platform::GetPlatform();
    Platform::WindowSystem& windows = platform.GetWindows();
    Platform::Clock& clock = platform.GetClock();
    if (mMainWindow != nullptr) {
        windows.ShowWindow(mMainWindow, Platform::SW_SHOW);
        windows.SetFocus(mMainWindow);
    }

    clock.TimeBeginPeriod(1);
    const uint32_t start = clock.TimeGetTime();
    mInMainLoop = true;
    mLastInputTick = start;
    mLastTimerTick = start;

    RunMainLoop();
    ProcessDeferredDeletes();
    mInMainLoop = false;

    WaitForLoadingThread();

    const uint32_t elapsed = clock.TimeGetTime() - start;
    Platform::OutputDebugText(FormatString("Seconds       = %g\r\n", elapsed / 1000.0));
    Platform::OutputDebugText(FormatString("Sleep Count   = %d\r\n", mSleepCount));
    Platform::OutputDebugText(FormatString("Update Count  = %d\r\n", mUpdateCount));
    Platform::OutputDebugText(FormatString("Draw Count    = %d\r\n", mDrawCount.load()));
    Platform::OutputDebugText(FormatString("Draw Time     = %d\r\n", mDrawTimeMs));
    Platform::OutputDebugText(FormatString("Screen Blt    = %d\r\n", mScreenBltMs));
    // Summed in 64 bits: the totals are of the whole run.
    const int64_t frameTime = static_cast<int64_t>(mDrawTimeMs) + mScreenBltMs;
    if (frameTime > 0) {
        const int64_t fps = static_cast<int64_t>(mDrawCount.load()) * 1000 / frameTime;
        Platform::OutputDebugText(FormatString("Avg FPS       = %d\r\n", static_cast<int>(fps)));
    }

    clock.TimeEndPeriod(1);

    OnMainLoopEnded();
    SaveSettingsToRegistry();
}

void TandryAppBase::Shutdown()
{
    Platform::ServiceBundle& platform = Platform::GetPlatform();
    if (mPrimaryThreadId != 0 && platform.GetThreads().GetCurrentThreadId() != mPrimaryThreadId) {
        mShutdownRequested = true;
        return;
    }
    if (mShutdown.exchange(true))
        return;

    mLeaveUpdateLoop = true;
    OnShutdownBegin();

    if (mPlayingDemo) {
        SetMusicVolume(mSavedMusicVolume);
        SetSfxVolume(mSavedSfxVolume);
    }

    // The cursor thread writes into the display, which the destructor tears down.
    JoinCursorThread();

    if (mMusicInterface != nullptr)
        mMusicInterface->StopAllTracks();

    if (!mIsWindowed && mDDInterface != nullptr && mDDInterface->HasDirectDraw())
        mDDInterface->RestoreDisplayMode();

    if (mMainWindow != nullptr)
        platform.GetWindows().ShowWindow(mMainWindow, Platform::SW_HIDE);

    if (mSettingsLoaded)
        SaveSettingsToRegistry();
}

void TandryAppBase::HandleSecondInstance()
{
    if (!mSingleInstance)
        return;
    if (mNotifyMessage != 0)
        Platform::GetPlatform().GetSingleInstance().BroadcastMessage(mNotifyMessage);
    DoExit(0);
}

} // namespace Tandry
