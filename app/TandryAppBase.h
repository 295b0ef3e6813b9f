// The application object: one per process, made by the program's entry point
// as the game's own application object, which derives from it. It owns the
// windows, the display, the widget manager, the resource manager, sound and
// music, the dialogs, the timing of the main loop and the demo state, and
// reaches the operating system only through the platform layer. Everything
// else in app/ and game/ reaches it through gApplication.
#pragma once

#include "app/DemoMarker.h"
#include "graphics/display/DisplayHost.h"
#include "graphics/display/NativeDisplay.h"
#include "graphics/image/ImageHost.h"
#include "graphics/image/SharedImageEntry.h"
#include "graphics/image/SharedImageHandle.h"
#include "graphics/types/Rect.h"
#include "graphics/types/ReducedFraction.h"
#include "platform/cursor/CursorService.h"
#include "platform/instance/SingleInstance.h"
#include "platform/registry/Registry.h"
#include "platform/window/WindowTypes.h"
#include "resources/manager/ResourceHost.h"
#include "util/Buffer.h"
#include "util/CritSectLock.h"
#include "widgets/ButtonListener.h"
#include "widgets/DialogListener.h"
#include "widgets/WidgetHost.h"

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <utility>

namespace Tandry {

class DDImage;
class DDInterface;
class DemoSeam;
class Dialog;
class Image;
class MemoryImage;
class MusicInterface;
class ResourceManager;
class SoundManager;
class Widget;
class WidgetManager;

class TandryAppBase : public ButtonListener, public DialogListener, public ImageHost, public DisplayHost,
                      public ResourceHost, public WidgetHost {
public:
    static constexpr int kCursorImageCount = 13;
    static constexpr int kAddTableSize = 512;
    // Dialog buttons 1000 and 1001 reach the button listener as dialog id + these.
    static constexpr int kDialogYesOffset = 2000;
    static constexpr int kDialogNoOffset = 3000;

    TandryAppBase();
    TandryAppBase(const TandryAppBase&) = delete;
    TandryAppBase& operator=(const TandryAppBase&) = delete;

    // The timing step and the update pass.
    virtual bool RunTimingStep(bool allowSleep);
    virtual void UpdateTick();
    virtual bool DoUpdateFrames();
    virtual void DoUpdateFraction(float fraction);
    virtual void CreateAppWindow();
    void ApplyCursor() override;
    virtual void RebuildAllImages();
    virtual void DropNativeImageData();
    virtual void DropExtraImageBuffers();
    // Runs on the main thread in the first update after the loading thread finished.
    virtual void OnLoadingThreadDone();
    ~TandryAppBase() override;
    virtual MusicInterface* NewMusicInterface(Platform::WindowHandle window);
    virtual void OnInitDone();
    virtual void OnShutdownBegin();
    virtual void OnMainLoopEnded();
    // The body of the loading thread.
    virtual void RunLoadingThread();
    virtual void SaveSettingsToRegistry();
    virtual void LoadSettingsFromRegistry();
    virtual Dialog* MakeDialog(int id, bool modal, const std::wstring& header, const std::wstring& lines,
                               const std::wstring& footer, int buttonMode);
    virtual void OnCursorsCreated();
    virtual void EnterSystemPopup();
    virtual void LeaveSystemPopup();
    virtual int ShowMessageBoxW(const std::wstring& text, const std::wstring& caption, uint32_t flags);
    // Windows-1252 text.
    virtual int ShowMessageBoxA(const std::string& text, const std::string& caption, uint32_t flags);
    virtual void ShowErrorPopupW(const std::wstring& text);
    virtual void ShowErrorPopupA(const std::string& text);
    virtual void AppendScreensaverLog(const std::string& text);
    // The widget is deleted after the update step that handed it over.
    void DeferWidgetDelete(Widget* widget) override;
    virtual void BrowserLaunchFailed(const std::string& url);
    virtual void BrowserLaunchDone(const std::string& url);
    virtual bool LaunchBrowser(const std::string& url, bool shutdownAfter);
    // The product version of the file; empty when it has none.
    virtual std::string ReadProductVersion(const std::string& path);
    virtual void HideAndSilence();
    virtual std::string BuildCrashReportText();
    // Safe from any thread; from another one it only asks the main thread.
    virtual void Shutdown();
    virtual void ReadCommandLine();
    virtual void SplitCommandLine(const std::string& text);
    virtual void HandleCommandLineOption(const std::string& name, const std::string& value);
    virtual void OnActivateRequest(uintptr_t wParam, intptr_t lParam);
    virtual void HandleSecondInstance();
    virtual void Start();
    virtual void Init();
    virtual void PreDisplayInitHook();
    virtual void PostDisplayInitHook();
    // True keeps Init from making the folder current.
    virtual bool OverrideChangeDir(const std::string& folder);
    virtual void PlaySoundPanned(int soundId, int pan);
    virtual void PlaySoundOnce(int soundId);
    virtual double GetSystemVolume();
    virtual double GetMusicVolume();
    virtual double GetSfxVolume();
    virtual bool IsMuted();
    virtual void SetSystemVolume(double volume);
    virtual void SetMusicVolume(double volume);
    virtual void SetSfxVolume(double volume);
    // automatic: the mute of focus loss and minimising, not the user's.
    virtual void Mute(bool automatic);
    virtual void Unmute(bool automatic);
    virtual double GetLoadingProgress();
    virtual void SetCustomCursorsEnabled(bool enabled);
    DDImage* LoadImageFile(const std::string& path, bool commit) override;
    virtual SharedImageHandle AcquireSharedImage(const std::string& name, const std::string& variant, bool* isNew);
    virtual void ChangeScreenMode(bool windowed, bool is3D, bool force);
    virtual void ChangeScreenModeWindowed(bool windowed);
    virtual void RecreateScreenMode();
    virtual void SetScreenInVideoMemory(bool on);
    virtual Dialog* OpenDialog(int id, bool modal, const std::wstring& header, const std::wstring& lines,
                               const std::wstring& footer, int buttonMode);
    virtual Dialog* FindDialog(int id);
    virtual void AddDialog(Dialog* dialog);
    virtual void AddDialog(int id, Dialog* dialog);
    virtual bool CloseDialog(Dialog* dialog);
    bool CloseDialog(int id) override;
    virtual bool CloseDialog(int id, bool removeWidget, bool deleteWidget);
    virtual int GetDialogCount();
    virtual void OnModalDialogOpened();
    virtual void OnModalDialogClosed();
    virtual void OnAppFocusGained();
    virtual void OnAppFocusLost();
    virtual bool IsSysCharHandled(wchar_t ch);
    virtual bool HandleDebugKey(int key);
    // True swallows the key.
    virtual bool InterceptKeyDown(int key, bool ctrl, bool alt);
    virtual void OnCloseRequested();
    void On3DTestDone() override;
    virtual std::string GetExtraCrashText();
    virtual bool DrawDirtyStuff();
    // area null: the whole screen.
    virtual void Redraw(Rect* area);
    virtual void OnBeforeSettingsLoad();
    virtual void RunMainLoop();
    bool RunUpdateStep(bool* updated) override;
    virtual bool RunUntilUpdated();
    virtual bool CanRestoreFromMinimised();
    // The display's capability test; false while the display has no tester.
    virtual bool Is3DTestPassed();
    virtual bool Is3DTestPassedWithoutWarning();

    // Dialog buttons 1000 and 1001 become button events of the application.
    void OnDialogButtonDown(int dialogId, int buttonId) override;
    void OnDialogButtonClick(int dialogId, int buttonId) override;

    // The image host. Before the display exists and after it is gone, a lock
    // and a 32-bit format of the application's own stand in for the
    // display's; only the main thread runs then.
    void SharedImageReleased() override;
    CriticalSection& GetDisplayLock() override;
    void AddMemoryImage(MemoryImage* image) override;
    void RemoveMemoryImage(MemoryImage* image) override;
    const uint8_t* GetAddTable() const override;
    const NativeDisplay& GetDisplayFormat() const override;
    bool IsDisplay3D() const override;
    void FreeImageTextures(MemoryImage* image) override;
    bool ReadImageTextures(const MemoryImage* image, uint32_t* bits) override;

    // What the display asks of the application.
    DisplaySettings GetDisplaySettings() override;
    void SetVSyncBroken() override;
    void SetScreenBounds(const Rect& bounds) override;
    DDInterface* GetDDInterface() override;
    bool IsSizeMinimized() override;
    void WriteRegistryText(const std::string& name, const std::string& value) override;
    // What the widgets ask of the application.
    WidgetManager* GetWidgetManager() override;
    void SetCursorKind(int kind) override;
    bool HasAppFocus() override;
    void SetOverrideCursor(Platform::CursorHandle cursor) override;
    // The application itself.
    DialogListener* GetDialogListener() override;

    // The resource manager's host, forwarded to the application's own operations.
    SharedImageHandle AcquireResourceImage(const std::string& path, const std::string& variant, bool* isNew) override;
    SoundManager* GetResourceSoundManager() override;
    bool IsResourceDisplay3D() const override;
    bool IsResourceSystemWindows9x() const override;

    // Texts shown to the user, by id, so that a game can replace them.
    void SetString(const std::string& id, const std::wstring& text);
    std::wstring LookupString(const std::string& id, const std::wstring& defaultText) const;

    // Ends the process; the application object is not destroyed.
    [[noreturn]] static void DoExit(int code);

    // Values under "SOFTWARE\\" + mRegistryKey. A name's part before its last
    // "\\" is a sub-key. Everything fails while the key is empty.
    bool ReadRegistryRaw(const std::string& name, uint32_t* type, uint8_t* data, uint32_t* length);
    bool WriteRegistryRaw(const std::string& name, uint32_t type, const uint8_t* data, uint32_t length);
    bool ReadRegistryDword(const std::string& name, int* value);
    bool ReadRegistryBool(const std::string& name, bool* value);
    bool WriteRegistryBool(const std::string& name, bool value);
    bool WriteRegistryString(const std::string& name, const std::string& value);
    void EraseRegistryValue(const std::string& name);

    void FailWithResourceError();

    // Windows-1252 text; the clipboard is left alone while a demo plays.
    void SetClipboardText(const std::string& text) override;
    std::string GetClipboardText() override;

    void ProcessDeferredDeletes();
    void ResetUpdateTiming();
    void ClearKeyStates();
    // Frees the shared images that lost their last handle, under the display lock.
    void ReleaseUnusedSharedImages();

    // The two threads. Both are joined: the cursor thread once Shutdown saw it
    // end, a finished loading thread before the next phase starts one.
    void StartCursorThread();
    void LaunchLoadingThread();
    void WaitForLoadingThread();
    static void CursorThreadProc(TandryAppBase* app);
    static void LoadingThreadProc(TandryAppBase* app);

    // The window procedure of both window classes.
    static intptr_t MainWindowProc(Platform::WindowHandle window, uint32_t message, uintptr_t wParam,
                                   intptr_t lParam);
    // Acts on the first deferred message; true while more remain.
    bool ProcessDeferredMessage();
    // Window client coordinates to the logical screen; unchanged while the client area is empty.
    void MapWindowPointToLogical(int& x, int& y) const;
    // Focus is being active and not minimised; a change mutes or unmutes and tells the widgets.
    void UpdateFocusState();

    // Brings the display up on the main window: a display result code, 0 on success.
    int SetUpDisplay();
    void Set3DAcceleration(bool on, bool reinit);

    // Demo recording and playback, through the seam.
    bool ReadDemoFile(std::string& error);
    void WriteDemoFile();
    void ReplayDemoInput();
    // Takes the refresh rate from the display, then records the display state.
    void RecordDisplayState();
    void SyncBufferWithDemo(Buffer& block);
    void SyncStringWithDemo(std::string& text) override;
    void SyncBoolWithDemo(bool& value) override;
    DemoSeam& GetDemoSeam() { return *mDemoSeam; }
    void SetDemoSeam(std::unique_ptr<DemoSeam> seam);

    uint32_t mRandomSeed = 0;
    std::string mCaptionPrefix;
    std::string mCompanyName;
    std::string mProductName = "Product";
    std::wstring mWindowTitle = L"TandryApp";
    std::string mRegistryKey;
    std::string mChangeDir;
    int mPreferredX = -1;
    int mPreferredY = -1;
    int mWidth = 640;
    int mHeight = 480;
    int mFullScreenBits = 16;
    double mMusicVolume = 0.85;
    double mSfxVolume = 0.85;
    double mSavedMusicVolume = 0;
    double mSavedSfxVolume = 0;
    bool mNoSound = false;
    bool mUseFmod = false;
    bool mCommandLineParsed = false;
    Platform::MutexHandle mMutex = 0;
    bool mSingleInstance = true;
    uint32_t mNotifyMessage = 0;
    // mAddTable[a + b] is a + b clamped to 255.
    std::array<uint8_t, kAddTableSize> mAddTable{};
    WidgetManager* mWidgetManager = nullptr;
    std::map<int, Dialog*> mDialogMap;
    std::list<Dialog*> mDialogList;
    uint32_t mPrimaryThreadId = 0;
    bool mWindowHidden = false;
    std::atomic<bool> mShutdown{false};
    bool mLeaveUpdateLoop = false;
    bool mWindowed = true;
    bool mIsWindowed = true;
    bool mForceFullScreen = false;
    bool mForceWindowed = false;
    bool mScreenInVideoMemory = false;
    bool mInitDone = false;
    uint32_t mTimeLoaded = 0;
    Platform::WindowHandle mMainWindow = nullptr;
    Platform::WindowHandle mInvisWindow = nullptr;
    bool mScreensaverMode = false;
    std::list<Platform::WindowMessage> mDeferredMessages;
    bool mSystemPopupShowing = false;
    bool mDesktopPc = true;
    bool mTabletPc = false;
    DDInterface* mDDInterface = nullptr;
    MusicInterface* mMusicInterface = nullptr;
    bool mSettingsLoaded = false;
    std::string mProductVersion;
    std::array<MemoryImage*, kCursorImageCount> mCursorImages{};
    Platform::CursorHandle mCursorHandle = nullptr;
    bool mBrowserLaunchPending = false;
    bool mShutdownAfterBrowser = false;
    std::string mBrowserUrl;
    uint32_t mBrowserLaunchTick = 0;
    uint32_t mLastTimerTick = 0;
    uint32_t mLastStallTick = 0;
    int mMuteCount = 0;
    int mAutoMuteCount = 0;
    bool mFastForwardMuted = false;
    // Every live memory image; guarded by the display lock.
    std::set<MemoryImage*> mMemoryImages;
    // Keyed by the upper-cased name and variant.
    std::map<std::pair<std::string, std::string>, SharedImageEntry> mSharedImages;
    std::atomic<bool> mSharedImagesDirty{false};
    // A caller of AcquireSharedImage that finds its entry still loading waits
    // here; never under the display lock, which the load itself takes.
    std::mutex mSharedImageLoadLock;
    std::condition_variable mSharedImageLoaded;
    int mCatchUpCount = 0;
    int mFrameTimeMs = 10;
    bool mDrawing = false;
    bool mLastDrawSkipped = false;
    bool mDrawPending = true;
    double mFractionAccum = 0;
    double mUpdateAccumMs = 0;
    uint32_t mLastTimingTick = 0;
    uint32_t mLastInputTick = 0;
    int mSleepCount = 0;
    std::atomic<int> mDrawCount{0};
    int mUpdateCount = 0;
    int mStepState = 0;
    int mUpdateDepth = 0;
    double mDemoSpeed = 1.0;
    bool mDemoPaused = false;
    int mDemoJumpTarget = 0;
    bool mDemoFastForwardAll = false;
    bool mDemoSingleStep = false;
    uint32_t mLastRedrawTick = 0;
    std::atomic<uint32_t> mNextDrawTick{0};
    int mDebugStepState = 0;
    int mCursorKind = 0;
    SoundManager* mSoundManager = nullptr;
    Platform::CursorHandle mHandCursor = nullptr;
    Platform::CursorHandle mDragCursor = nullptr;
    std::list<std::pair<int, Widget*>> mDeferredDeletes;
    bool mMouseInWindow = false;
    bool mInMainLoop = false;
    bool mActive = true;
    bool mMinimized = false;
    bool mSizeMinimized = false;
    bool mWindowDisabled = false;
    bool mHasFocus = true;
    int mDrawTimeMs = 0;
    bool mShowDebugOverlay = false;
    int mDebugOverlayMode = 0;
    int mScreenBltMs = 0;
    bool mAutoStartLoadingThread = true;
    std::atomic<bool> mLoadingThreadStarted{false};
    std::atomic<bool> mLoadingThreadDone{false};
    std::atomic<bool> mLoadingAcknowledged{false};
    std::atomic<bool> mLoadingThrottle{false};
    std::atomic<bool> mShutdownRequested{false};
    std::atomic<bool> mCursorThreadRunning{false};
    bool mCustomCursorsEnabled = false;
    bool mForceRedraw = false;
    bool mLastRunClean = true;
    bool mUnicodeWindows = false;
    int mLoadingTasksTotal = 0;
    std::atomic<int> mLoadingTasksDone{0};
    bool mRecordingDemo = false;
    std::atomic<bool> mPlayingDemo{false};
    bool mDemoFinished = false;
    std::string mDemoFilePrefix;
    std::string mDemoFileName;
    Buffer mDemoBuffer;
    int mDemoEndUpdate = 0;
    // The cursor thread reads the replayed position.
    std::atomic<int> mDemoMouseX{0};
    std::atomic<int> mDemoMouseY{0};
    int mDemoNextEventUpdate = 0;
    bool mDemoNeedHeader = true;
    bool mDemoEventIsMouse = false;
    int mDemoEventType = 0;
    int mDemoEventIndex = -1;
    int mDemoEventBitPos = 0;
    bool mDemoLoadingDone = false;
    std::list<DemoMarker> mDemoMarkers;
    bool mDebugKeysEnabled = false;
    bool mCtrlDown = false;
    bool mAltDown = false;
    int mRefreshRate = 100;
    bool mSmoothVSync = false;
    bool mVSyncBroken = false;
    int mVSyncFastCount = 0;
    uint32_t mVSyncCheckTick = 0;
    int mVSyncCheckUpdates = 0;
    bool mWaitForVSync = false;
    bool m3DChangedThisSession = false;
    bool mAutoEnable3D = false;
    bool mTest3D = false;
    int mMinVidMemoryMB = 6;
    int mRecVidMemoryMB = 14;
    Rect mScreenBounds;
    ReducedFraction mAspectRatio{4, 3};
    std::map<std::string, std::wstring> mStringTable;
    ResourceManager* mResourceManager = nullptr;
    // Set by the game when a loading phase failed; nothing in the framework reads it.
    bool mLoadingFailed = false;

protected:
    bool WriteRegistryDword(const std::string& name, int value);

private:
    // Registry values may be written from any thread; the loop reads these.
    std::atomic<bool> mRegistryFlushArmed{false};
    std::atomic<uint32_t> mRegistryFlushDueTick{0};

    // The data folder, where numbered demos live ("" without one: the current folder).
    std::string NumberedDemoFolder() const;
    // The demo file name as given, or prefixed with the data folder.
    std::string MakeDemoPathAbsolute(const std::string& name) const;
    // A change to the registry outside a settings save reaches its file from
    // the main loop at most this long after it was made.
    static constexpr uint32_t kRegistryFlushDelayMs = 1000;
    // Starts the wait for the next registry flush unless one is running.
    void ArmRegistryFlush(uint32_t now);
    // Called by every step of the loop: flushes the registry when its wait is over.
    void FlushRegistryWhenDue();
    // Splits the name at its last "\\" into sub-key and value name and opens
    // the key (creating it when asked); false while mRegistryKey is empty.
    bool OpenRegistryKey(const std::string& name, bool create, Platform::RegistryKey& key,
                         std::string& valueName) const;
    void AskHardwareAccelerationQuestions();
    bool AskHardwareAccelerationQuestion(const std::string& textId, const std::wstring& defaultText);

    // The timing step's parts: demo fast-forward, the partial updates after an
    // update, and the check that presentations really wait for the retrace.
    bool RunDemoFastForward(float fraction);
    void RunFractionalUpdates(float fraction, bool countCatchUp);
    void RunVSyncCheck(uint32_t start);
    // Adds the real time since the last call to the update accumulator.
    void AccumulateElapsedTime();
    void CheckIdleSuspend(uint32_t now);
    // Ends a draw pass that presented nothing.
    bool SkipDraw();
    // The developer overlays before and after the widgets are drawn.
    void UpdateDebugOverlays();
    void DrawDebugOverlays();
    // What the window procedure does with a message it does not act on itself.
    intptr_t DefaultWindowProc(Platform::WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam);
    void HandleTimerMessage(const Platform::WindowMessage& message);
    void HandleMouseMessage(const Platform::WindowMessage& message);
    void HandleKeyDownMessage(const Platform::WindowMessage& message);
    void RecordDeferredMessage(const Platform::WindowMessage& message);
    // True when CreateAppWindow goes on with its success steps after a failed set-up.
    bool HandleDisplayInitResult(int result);
    Image* DisplayScreenImage() const;
    // Shows the failure message of a display that cannot be set up and exits with code 1.
    [[noreturn]] void FailDisplayInit(int result);
    // The real mouse lies over the main window's client area.
    bool MouseOverClientArea() const;
    // Calls the operation on every image of the set, under the display lock.
    void ForEachMemoryImage(void (MemoryImage::*operation)());
    // Waits until the cursor thread saw the shutdown, then joins it.
    void JoinCursorThread();

    std::unique_ptr<DemoSeam> mDemoSeam;
    CriticalSection mNoDisplayLock;
    NativeDisplay mNoDisplayFormat;
    std::thread mCursorThread;
    std::thread mLoadingThread;
    // The main window as the cursor thread reads it; a screen-mode change replaces the window.
    std::atomic<Platform::WindowHandle> mCursorWindow{nullptr};
};

// The one application object; null before it is made and after it is gone.
extern TandryAppBase* gApplication;

} // namespace Tandry
