#include "LoopTestSupport.h"

#include "app/AppFactories.h"
#include "app/MainLoopGlobals.h"
#include "app/ScreensaverFilter.h"
#include "graphics/display/D3DTester.h"
#include "platform/window/WindowMessages.h"
#include "util/Format.h"
#include "util/SectionProfiler.h"

#include <chrono>
#include <thread>

namespace LoopTest {

ScriptedDisplay::ScriptedDisplay(Tandry::TandryAppBase* owner) : mOwner(owner)
{
    SetRefreshRate(60);
}

void ScriptedDisplay::SetRefreshRate(unsigned int hz)
{
    mRefreshRate = hz;
    mMillisPerRefresh = hz == 0 ? 0 : static_cast<int>(1000 / hz);
}

void ScriptedDisplay::GiveTester(bool passed, bool fresh)
{
    delete mD3DTester;
    mD3DTester = new Tandry::D3DTester();
    if (!passed)
        mD3DTester->mFailureReason = "refused";
    mD3DTester->mFreshResult = fresh;
}

int ScriptedDisplay::Init(Platform::WindowHandle window, bool windowed)
{
    ++initCalls;
    initTicks.push_back(Platform::GetPlatform().GetClock().GetTickCount());
    mHWnd = window;
    mIsWindowed = windowed;
    mWidth = displayWidth != 0 ? displayWidth : mOwner->mWidth;
    mHeight = displayHeight != 0 ? displayHeight : mOwner->mHeight;
    mPresentationRect = Tandry::Rect(0, 0, mWidth, mHeight);
    if (initResults.empty())
        return 0;
    const int result = initResults.front();
    initResults.pop_front();
    if (result != 0)
        mErrorText = "scripted failure";
    return result;
}

bool ScriptedDisplay::Redraw(Tandry::Rect* /*dirty*/)
{
    Platform::Clock& clock = Platform::GetPlatform().GetClock();
    if (waitForRetrace && mRefreshRate > 0) {
        // Retrace k happens at the first tick at or after k * 1000 / rate.
        const uint64_t hz = mRefreshRate;
        const uint64_t now = clock.GetTickCount();
        const uint64_t next = now * hz / 1000 + 1;
        const uint64_t retrace = (next * 1000 + hz - 1) / hz;
        clock.Sleep(static_cast<uint32_t>(retrace - now));
    }
    presentTicks.push_back(clock.GetTickCount());
    if (presentMs > 0)
        clock.Sleep(presentMs);
    if (failRedraws > 0) {
        --failRedraws;
        return false;
    }
    return true;
}

void RecordingSeam::RecordKeyDown(int key)
{
    calls.push_back(Tandry::FormatString("KeyDown %d", key));
}

void RecordingSeam::RecordKeyUp(int key)
{
    calls.push_back(Tandry::FormatString("KeyUp %d", key));
}

void RecordingSeam::RecordKeyChar(wchar_t ch)
{
    calls.push_back(Tandry::FormatString("KeyChar %d", static_cast<int>(ch)));
}

void RecordingSeam::RecordActivate(bool active)
{
    calls.push_back(Tandry::FormatString("Activate %d", active ? 1 : 0));
}

void RecordingSeam::RecordMinimise(bool minimised)
{
    calls.push_back(Tandry::FormatString("Minimise %d", minimised ? 1 : 0));
}

void RecordingSeam::RecordClose()
{
    calls.push_back("Close");
}

void RecordingSeam::RecordWheel(int notches)
{
    calls.push_back(Tandry::FormatString("Wheel %d", notches));
}

void RecordingSeam::RecordMousePosition(int x, int y)
{
    calls.push_back(Tandry::FormatString("Mouse %d,%d", x, y));
}

void RecordingSeam::RecordMouseButton(bool down, int clickCode)
{
    calls.push_back(Tandry::FormatString("Button %s %d", down ? "down" : "up", clickCode));
}

void RecordingSeam::RecordMouseEnter()
{
    calls.push_back("Enter");
}

void RecordingSeam::RecordMouseLeave()
{
    calls.push_back("Leave");
}

void RecordingSeam::RecordLoadingDone()
{
    calls.push_back("LoadingDone");
}

void RecordingSeam::HandlePlaybackChar(wchar_t ch)
{
    calls.push_back(Tandry::FormatString("PlaybackChar %d", static_cast<int>(ch)));
}

void RecordingSeam::ReplayInput()
{
    if (onReplay)
        onReplay();
}

void CountingWidgetManager::MarkAllDirty()
{
    ++markAllDirtyCalls;
    WidgetManager::MarkAllDirty();
}

void CountingWidgetManager::SysColorChangedAll()
{
    ++sysColorCalls;
    WidgetManager::SysColorChangedAll();
}

void InputLogWidgetManager::Log(const std::string& call)
{
    calls.push_back(call + Tandry::FormatString(" @%d", updateCount != nullptr ? *updateCount : 0));
}

bool InputLogWidgetManager::MouseDown(int mouseXPos, int mouseYPos, int clickCount)
{
    Log(Tandry::FormatString("MouseDown %d,%d,%d", mouseXPos, mouseYPos, clickCount));
    return CountingWidgetManager::MouseDown(mouseXPos, mouseYPos, clickCount);
}

bool InputLogWidgetManager::MouseUp(int mouseXPos, int mouseYPos, int clickCount)
{
    Log(Tandry::FormatString("MouseUp %d,%d,%d", mouseXPos, mouseYPos, clickCount));
    return CountingWidgetManager::MouseUp(mouseXPos, mouseYPos, clickCount);
}

bool InputLogWidgetManager::MouseMove(int mouseXPos, int mouseYPos)
{
    Log(Tandry::FormatString("MouseMove %d,%d", mouseXPos, mouseYPos));
    return CountingWidgetManager::MouseMove(mouseXPos, mouseYPos);
}

bool InputLogWidgetManager::MouseExit()
{
    Log("MouseExit");
    return CountingWidgetManager::MouseExit();
}

bool InputLogWidgetManager::MouseWheel(int delta)
{
    Log(Tandry::FormatString("MouseWheel %d", delta));
    return CountingWidgetManager::MouseWheel(delta);
}

bool InputLogWidgetManager::KeyDown(int key)
{
    Log(Tandry::FormatString("KeyDown %d", key));
    const bool result = CountingWidgetManager::KeyDown(key);
    if (onKeyDown)
        onKeyDown(key);
    return result;
}

bool InputLogWidgetManager::KeyUp(int key)
{
    Log(Tandry::FormatString("KeyUp %d", key));
    return CountingWidgetManager::KeyUp(key);
}

bool InputLogWidgetManager::KeyChar(wchar_t ch)
{
    Log(Tandry::FormatString("KeyChar %d", static_cast<int>(ch)));
    const bool result = CountingWidgetManager::KeyChar(ch);
    if (onKeyChar)
        onKeyChar(ch);
    return result;
}

void InputLogWidgetManager::WindowGotFocus()
{
    Log("GotFocus");
    CountingWidgetManager::WindowGotFocus();
}

void InputLogWidgetManager::WindowLostFocus()
{
    Log("LostFocus");
    CountingWidgetManager::WindowLostFocus();
}

LoopApp::LoopApp()
{
    mProductName = "Moorglen";
    mWidth = 1024;
    mHeight = 768;
    mSoundManager = new CountingSoundManager();
    // The loop's tests start loading threads themselves.
    mAutoStartLoadingThread = false;
    // Sleeps of earlier applications are not this one's.
    if (auto* clock = dynamic_cast<Platform::HeadlessClock*>(&Platform::GetPlatform().GetClock()))
        mSleepsSeen = clock->GetSleeps().size();
}

LoopApp::~LoopApp()
{
    // The clock may still be moved by the base destructor's waits; nothing is noted after this.
    onUpdate = nullptr;
}

void LoopApp::NoteSleeps()
{
    auto* clock = dynamic_cast<Platform::HeadlessClock*>(&Platform::GetPlatform().GetClock());
    if (clock == nullptr)
        return;
    const std::vector<Platform::HeadlessClock::SleepRecord> sleeps = clock->GetSleeps();
    for (; mSleepsSeen < sleeps.size(); ++mSleepsSeen) {
        if (sleeps[mSleepsSeen].onClockThread)
            events.push_back(Tandry::FormatString("S%u", sleeps[mSleepsSeen].milliseconds));
    }
}

int LoopApp::CountEvents(const std::string& prefix) const
{
    int count = 0;
    for (const std::string& event : events)
        count += event.compare(0, prefix.size(), prefix) == 0 ? 1 : 0;
    return count;
}

void LoopApp::UpdateTick()
{
    NoteSleeps();
    events.push_back("U");
    TandryAppBase::UpdateTick();
    if (updateWorkMs > 0)
        static_cast<Platform::HeadlessClock&>(Platform::GetPlatform().GetClock()).Advance(updateWorkMs);
    if (dirtyEachUpdate)
        mForceRedraw = true;
    if (onUpdate)
        onUpdate();
}

bool LoopApp::DrawDirtyStuff()
{
    NoteSleeps();
    events.push_back("D");
    const int before = mDrawCount;
    const bool presented = TandryAppBase::DrawDirtyStuff();
    NoteSleeps();
    if (mDrawCount != before)
        events.push_back("P");
    return presented;
}

void LoopApp::DoUpdateFraction(float fraction)
{
    if (mSmoothVSync)
        events.push_back(Tandry::FormatString("F%.4f", fraction));
    TandryAppBase::DoUpdateFraction(fraction);
}

void LoopApp::OnLoadingThreadDone()
{
    ++loadingDoneCalls;
}

void LoopApp::RunLoadingThread()
{
    if (loadingBody)
        loadingBody();
}

void LoopApp::OnAppFocusGained()
{
    focusEvents.push_back("gained");
}

void LoopApp::OnAppFocusLost()
{
    focusEvents.push_back("lost");
}

void LoopApp::OnCloseRequested()
{
    ++closeRequests;
}

void LoopApp::ChangeScreenModeWindowed(bool windowed)
{
    screenModeRequests.push_back(windowed);
    if (passScreenModeToBase)
        TandryAppBase::ChangeScreenModeWindowed(windowed);
}

void LoopApp::CreateAppWindow()
{
    ++windowsMade;
    TandryAppBase::CreateAppWindow();
}

bool LoopApp::HandleDebugKey(int key)
{
    debugKeys.push_back(key);
    return debugKeyResult;
}

bool LoopApp::InterceptKeyDown(int key, bool ctrl, bool alt)
{
    if (interceptKey)
        return interceptKey(key);
    return TandryAppBase::InterceptKeyDown(key, ctrl, alt);
}

void LoopApp::ApplyCursor()
{
    ++applyCursorCalls;
    TandryAppBase::ApplyCursor();
}

void LoopApp::BrowserLaunchDone(const std::string& url)
{
    browserEvents.push_back("done " + url);
    TandryAppBase::BrowserLaunchDone(url);
}

void LoopApp::BrowserLaunchFailed(const std::string& url)
{
    browserEvents.push_back("failed " + url);
    TandryAppBase::BrowserLaunchFailed(url);
}

void LoopApp::Mute(bool automatic)
{
    muteEvents.push_back(automatic ? "mute auto" : "mute");
    TandryAppBase::Mute(automatic);
}

void LoopApp::Unmute(bool automatic)
{
    muteEvents.push_back(automatic ? "unmute auto" : "unmute");
    TandryAppBase::Unmute(automatic);
}

void LoopFixture::SetUp()
{
    mPlatform = &Platform::InstallHeadlessPlatform();
    Tandry::ResetAppFactories();
    Tandry::AppFactories& factories = Tandry::GetAppFactories();
    factories.widgetManager = [](Tandry::TandryAppBase* app) { return new CountingWidgetManager(app); };
    factories.demoSeam = [](Tandry::TandryAppBase*) { return std::make_unique<RecordingSeam>(); };
    factories.display = [this](Tandry::TandryAppBase* owner) {
        auto* display = new ScriptedDisplay(owner);
        if (mPrepareDisplay)
            mPrepareDisplay(*display);
        return display;
    };
    Tandry::ResetMainLoopGlobals();
    Tandry::ResetScreensaverFilter();

    Platform::WindowSystem& windows = mPlatform->Windows();
    Platform::WindowClass mainClass;
    mainClass.name = "MainWindow";
    mainClass.style = Platform::CS_DBLCLKS;
    mainClass.proc = &Tandry::TandryAppBase::MainWindowProc;
    windows.RegisterWindowClass(mainClass);
    Platform::WindowClass invisClass;
    invisClass.name = "InvisWindow";
    invisClass.proc = &Tandry::TandryAppBase::MainWindowProc;
    windows.RegisterWindowClass(invisClass);

    mApp = std::make_unique<LoopApp>();
    mApp->mPrimaryThreadId = mPlatform->Threads().GetCurrentThreadId();
}

void LoopFixture::TearDown()
{
    mApp.reset();
    Tandry::ResetAppFactories();
    Tandry::ResetMainLoopGlobals();
    Tandry::ResetScreensaverFilter();
    Tandry::SectionProfiler::Reset();
    Tandry::gD3DSceneFailed = false;
    Platform::ResetPlatform();
    mPlatform = nullptr;
}

void LoopFixture::OpenWindow()
{
    mApp->CreateAppWindow();
    mPlatform->Windows().ShowWindow(mApp->mMainWindow, Platform::SW_SHOW);
    // Showing activated the window; the queued activation is handled as the loop would.
    ProcessAll();
    mApp->mInitDone = true;
}

void LoopFixture::RunCycle()
{
    do {
        mApp->RunUpdateStep(nullptr);
    } while (mApp->mStepState != 3);
}

bool LoopFixture::RunCyclesUntil(const std::function<bool()>& done, int limit)
{
    for (int i = 0; i < limit; ++i) {
        if (done())
            return true;
        RunCycle();
    }
    return done();
}

void LoopFixture::StartTimingAndAdvance(uint32_t ms)
{
    RunCycle();
    Clock().Advance(ms);
}

intptr_t LoopFixture::Send(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    return Tandry::TandryAppBase::MainWindowProc(mApp->mMainWindow, message, wParam, lParam);
}

void LoopFixture::SendAndProcess(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    Send(message, wParam, lParam);
    ProcessAll();
}

void LoopFixture::ProcessAll()
{
    Platform::WindowMessage message;
    while (mPlatform->Windows().PeekMessage(message))
        mPlatform->Windows().DispatchMessage(message);
    while (mApp->ProcessDeferredMessage()) {
    }
}

std::vector<uint32_t> LoopFixture::QueuedMessages() const
{
    std::vector<uint32_t> messages;
    for (const Platform::WindowMessage& queued : mApp->mDeferredMessages)
        messages.push_back(queued.message);
    return messages;
}

void LoopFixture::PutCursorAt(int x, int y)
{
    Platform::InputEvent motion;
    motion.kind = Platform::InputEventKind::MouseMotion;
    motion.x = x;
    motion.y = y;
    mPlatform->Windows().Inject(motion);
}

ScriptedDisplay& LoopFixture::Display()
{
    return *static_cast<ScriptedDisplay*>(mApp->mDDInterface);
}

RecordingSeam& LoopFixture::Seam()
{
    return static_cast<RecordingSeam&>(mApp->GetDemoSeam());
}

CountingWidgetManager& LoopFixture::Manager()
{
    return *static_cast<CountingWidgetManager*>(mApp->mWidgetManager);
}

CountingSoundManager& LoopFixture::Sound()
{
    return *static_cast<CountingSoundManager*>(mApp->mSoundManager);
}

bool WaitFor(const std::function<bool()>& condition)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

} // namespace LoopTest
