// What the tests of the main loop, the window procedure, the threads and the
// main window share: a scripted display, a demo seam and a widget manager that
// record what reaches them, a sound manager that counts, an application whose
// updates, draws and sleeps go into one event list, and a fixture on the
// headless platform whose clock only moves when the loop sleeps or the test
// advances it.
#pragma once

#include "app/NullDemoSeam.h"
#include "app/SoundManagerStub.h"
#include "app/TandryAppBase.h"
#include "audio/SoundManager.h"
#include "graphics/display/DDInterface.h"
#include "platform/headless/HeadlessPlatform.h"
#include "widgets/Widget.h"
#include "widgets/WidgetManager.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace LoopTest {

// A display whose answers the test scripts.
class ScriptedDisplay : public Tandry::DDInterface {
public:
    explicit ScriptedDisplay(Tandry::TandryAppBase* owner);

    int Init(Platform::WindowHandle window, bool windowed) override;
    bool Redraw(Tandry::Rect* dirty) override;

    void SetRefreshRate(unsigned int hz);
    // A capability tester with these answers; fresh means computed in this run.
    void GiveTester(bool passed, bool fresh);

    // Results of the next Init calls, in order; success once they are used up.
    std::deque<int> initResults;
    // The size Init reports; the logical screen when 0.
    int displayWidth = 0;
    int displayHeight = 0;
    // The next this many presentations fail.
    int failRedraws = 0;
    // A presentation waits for the next vertical retrace of the refresh rate.
    bool waitForRetrace = false;
    // Milliseconds a presentation takes.
    uint32_t presentMs = 0;

    int initCalls = 0;
    std::vector<uint32_t> initTicks;
    // Tick at the start of every presentation, failed ones included.
    std::vector<uint32_t> presentTicks;

private:
    // Whose logical screen the display brings up when no size is scripted.
    Tandry::TandryAppBase* mOwner;
};

// Records the calls of the recording side as text, in order.
class RecordingSeam : public Tandry::NullDemoSeam {
public:
    void RecordKeyDown(int key) override;
    void RecordKeyUp(int key) override;
    void RecordKeyChar(wchar_t ch) override;
    void RecordActivate(bool active) override;
    void RecordMinimise(bool minimised) override;
    void RecordClose() override;
    void RecordWheel(int notches) override;
    void RecordMousePosition(int x, int y) override;
    void RecordMouseButton(bool down, int clickCode) override;
    void RecordMouseEnter() override;
    void RecordMouseLeave() override;
    void RecordLoadingDone() override;
    void HandlePlaybackChar(wchar_t ch) override;
    void ReplayInput() override;

    std::vector<std::string> calls;
    std::function<void()> onReplay;
};

class CountingWidgetManager : public Tandry::WidgetManager {
public:
    using WidgetManager::WidgetManager;
    void MarkAllDirty() override;
    void SysColorChangedAll() override;

    int markAllDirtyCalls = 0;
    int sysColorCalls = 0;
};

// Logs every input and focus call with its arguments and the update count at
// which it came, as "KeyDown 65 @12"; the hooks let a test answer a key.
class InputLogWidgetManager : public CountingWidgetManager {
public:
    using CountingWidgetManager::CountingWidgetManager;
    bool MouseDown(int mouseXPos, int mouseYPos, int clickCount) override;
    bool MouseUp(int mouseXPos, int mouseYPos, int clickCount) override;
    bool MouseMove(int mouseXPos, int mouseYPos) override;
    bool MouseExit() override;
    bool MouseWheel(int delta) override;
    bool KeyDown(int key) override;
    bool KeyUp(int key) override;
    bool KeyChar(wchar_t ch) override;
    void WindowGotFocus() override;
    void WindowLostFocus() override;

    std::vector<std::string> calls;
    // The application's update count; 0 in the log while unset.
    const int* updateCount = nullptr;
    std::function<void(int key)> onKeyDown;
    std::function<void(wchar_t ch)> onKeyChar;

private:
    void Log(const std::string& call);
};

class CountingSoundManager : public AppTest::SoundManagerStub {
public:
    void SetOverallVolume(double volume) override { lastVolume = volume; }
    double GetSystemVolume() override { return 1.0; }
    void SetSystemVolume(double) override {}
    Tandry::SoundInstance* NewSoundInstance(int) override { return nullptr; }
    void SetWindow(Platform::WindowHandle window, bool windowed) override { windows.emplace_back(window, windowed); }
    void StopAllInstances() override { ++stopAllCalls; }
    int CountLoadedSounds() override { return 0; }

    double lastVolume = -1;
    int stopAllCalls = 0;
    std::vector<std::pair<Platform::WindowHandle, bool>> windows;
};

// A widget that says when it is deleted.
class TrackedWidget : public Tandry::Widget {
public:
    explicit TrackedWidget(bool& deleted) : mDeleted(deleted) { mDeleted = false; }
    ~TrackedWidget() override { mDeleted = true; }

private:
    bool& mDeleted;
};

// The application with its loop events in one list: "U" an update, "D" a draw
// pass, "P" a presentation, "S<ms>" a sleep, "F<fraction>" a partial update.
class LoopApp : public Tandry::TandryAppBase {
public:
    LoopApp();
    ~LoopApp() override;

    void UpdateTick() override;
    bool DrawDirtyStuff() override;
    void DoUpdateFraction(float fraction) override;
    void OnLoadingThreadDone() override;
    void RunLoadingThread() override;
    void OnAppFocusGained() override;
    void OnAppFocusLost() override;
    void OnCloseRequested() override;
    void ChangeScreenModeWindowed(bool windowed) override;
    void CreateAppWindow() override;
    bool HandleDebugKey(int key) override;
    bool InterceptKeyDown(int key, bool ctrl, bool alt) override;
    void ApplyCursor() override;
    void BrowserLaunchDone(const std::string& url) override;
    void BrowserLaunchFailed(const std::string& url) override;
    void Mute(bool automatic) override;
    void Unmute(bool automatic) override;

    // Adds the clock's sleeps since the last call to the events.
    void NoteSleeps();
    int CountEvents(const std::string& prefix) const;

    std::vector<std::string> events;
    // Each update marks the screen as changed, so the next draw pass presents.
    bool dirtyEachUpdate = false;
    // Virtual milliseconds each update takes.
    uint32_t updateWorkMs = 0;
    std::function<void()> onUpdate;
    std::function<void()> loadingBody;
    std::function<bool(int key)> interceptKey;
    bool debugKeyResult = false;
    // Screen-mode requests are recorded and, when set, carried out by the base.
    bool passScreenModeToBase = false;
    // Each makes a new main window; a new handle may reuse the old one's address.
    int windowsMade = 0;

    int loadingDoneCalls = 0;
    int closeRequests = 0;
    int applyCursorCalls = 0;
    std::vector<bool> screenModeRequests;
    std::vector<int> debugKeys;
    std::vector<std::string> focusEvents;
    std::vector<std::string> browserEvents;
    std::vector<std::string> muteEvents;

private:
    size_t mSleepsSeen = 0;
};

class LoopFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The main window with the display brought up on it, as Init leaves it.
    void OpenWindow();
    // Runs update steps until the step cycle is complete.
    void RunCycle();
    // Cycles until the predicate holds; false when it did not within the limit.
    bool RunCyclesUntil(const std::function<bool()>& done, int limit = 10000);
    // The first cycle only records the time; the clock then moves by ms.
    void StartTimingAndAdvance(uint32_t ms);

    intptr_t Send(uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0);
    // Sends, then processes every deferred message.
    void SendAndProcess(uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0);
    void ProcessAll();
    std::vector<uint32_t> QueuedMessages() const;
    // Moves the system cursor to a point of the main window's client area (or outside it).
    void PutCursorAt(int x, int y);

    ScriptedDisplay& Display();
    RecordingSeam& Seam();
    CountingWidgetManager& Manager();
    CountingSoundManager& Sound();
    Platform::HeadlessClock& Clock() { return mPlatform->Clock(); }

    Platform::HeadlessPlatform* mPlatform = nullptr;
    std::unique_ptr<LoopApp> mApp;
    // Scripts the display when the window's first creation makes it.
    std::function<void(ScriptedDisplay&)> mPrepareDisplay;
};

// Waits in real time (at most a few seconds) for a condition another thread makes true.
bool WaitFor(const std::function<bool()>& condition);

} // namespace LoopTest
