// The display's fall-backs at window creation, the switches of 3D and of the
// window mode, the screen in video memory and the walks over the image set,
// on a scripted display.
#include "LoopTestSupport.h"

#include "graphics/display/D3DTester.h"
#include "graphics/display/DDImage.h"
#include "graphics/display/DisplayResult.h"
#include "graphics/image/MemoryImage.h"
#include "platform/window/VirtualKeys.h"
#include "platform/window/WindowMessages.h"

#include <atomic>
#include <future>
#include <thread>

namespace LoopTest {
namespace {

// Counts the three walks' calls and whether the display lock was held for each.
class WalkedImage : public Tandry::MemoryImage {
public:
    explicit WalkedImage(Tandry::TandryAppBase& app) : MemoryImage(&app), mApp(app) {}

    void ApplyPendingConversions() override { Note(conversions); }
    void FreeDisplayFormatData() override { Note(displayData); }
    void FreeDerivedData() override { Note(derived); }

    int conversions = 0;
    int displayData = 0;
    int derived = 0;
    int unlockedCalls = 0;

private:
    void Note(int& count)
    {
        ++count;
        // Another thread cannot take a lock this thread holds.
        Tandry::CriticalSection& lock = mApp.GetDisplayLock();
        const bool free = std::async(std::launch::async, [&lock] {
                              const bool taken = lock.try_lock();
                              if (taken)
                                  lock.unlock();
                              return taken;
                          }).get();
        if (free)
            ++unlockedCalls;
    }

    Tandry::TandryAppBase& mApp;
};

class ScreenModes : public LoopFixture {
protected:
    void SetUp() override
    {
        LoopFixture::SetUp();
        mApp->passScreenModeToBase = true;
    }

    // The exit code of f, or -1 when it returned.
    static int ExitCodeOf(const std::function<void()>& f)
    {
        try {
            f();
        } catch (const Platform::HeadlessExit& exit) {
            return exit.GetCode();
        }
        return -1;
    }

    // The window's timer 100 fires at the frame time.
    bool TimerRunsOn(Platform::WindowHandle window)
    {
        Clock().Advance(static_cast<uint32_t>(mApp->mFrameTimeMs));
        bool found = false;
        Platform::WindowMessage message;
        while (mPlatform->Windows().PeekMessage(message)) {
            if (message.message == Platform::WM_TIMER && message.wParam == 100 && message.hwnd == window)
                found = true;
        }
        return found;
    }

    std::wstring OnlyPopup()
    {
        const auto boxes = mPlatform->Dialogs().GetBoxes();
        EXPECT_EQ(boxes.size(), 1u);
        return boxes.empty() ? L"" : boxes[0].text;
    }
};

TEST_F(ScreenModes, FallBacksAtWindowCreation)
{
    const std::wstring failed = L"Failed to initialize DirectDraw: ";
    struct Case {
        const char* name;
        bool windowed;
        bool forceWindowed;
        bool is3D;
        std::deque<int> results;
        int exitCode;          // -1: running
        std::wstring popup;    // empty: none
        int windowsMade;
        bool endsWindowed;
        bool forceFullScreen;
        bool forceWindowedAfter;
        bool is3DAfter;
    };
    const Case cases[] = {
        {"windowed, bad depth, then full screen", true, false, false, {6, 0}, -1, L"", 2, false, true, false,
         false},
        {"windowed only, bad depth", true, true, false, {6}, 1, L"Please set your desktop color depth to 16 bit.",
         1, true, false, true, false},
        {"full screen refused", false, false, false, {4, 0}, -1, L"", 2, true, false, true, false},
        {"display change refused", false, false, false, {5, 0}, -1, L"", 2, true, false, true, false},
        {"bad depth, then full screen refused", true, false, false, {6, 4}, 1,
         failed + L"RESULT_EXCLUSIVE_FAIL scripted failure", 2, false, true, false, false},
        {"3D fails", true, false, true, {7, 0}, -1, L"", 1, true, false, false, false},
        {"3D surface fails", true, false, true, {3, 0}, -1, L"", 1, true, false, false, false},
        {"3D and software fail", true, false, true, {7, 3}, 1, failed + L"RESULT_SURFACE_FAIL scripted failure",
         1, true, false, false, false},
        {"software surface fails", true, false, false, {3}, 1, failed + L"RESULT_SURFACE_FAIL scripted failure",
         1, true, false, false, false},
        {"an unknown code", true, false, false, {-1}, 1, failed + L"RESULT_UNKNOWN scripted failure", 1, true,
         false, false, false},
        {"Direct3D's code without 3D", true, false, false, {7}, 1, failed + L"RESULT_UNKNOWN scripted failure",
         1, true, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        mApp->mWindowed = c.windowed;
        mApp->mForceWindowed = c.forceWindowed;
        mPrepareDisplay = [&](ScriptedDisplay& display) {
            display.initResults = c.results;
            display.mIs3D = c.is3D;
        };
        EXPECT_EQ(ExitCodeOf([&] { mApp->CreateAppWindow(); }), c.exitCode);
        if (c.popup.empty())
            EXPECT_TRUE(mPlatform->Dialogs().GetBoxes().empty());
        else
            EXPECT_EQ(OnlyPopup(), c.popup);
        EXPECT_EQ(mApp->windowsMade, c.windowsMade);
        EXPECT_EQ(mApp->mIsWindowed, c.endsWindowed);
        EXPECT_EQ(mApp->mForceFullScreen, c.forceFullScreen);
        EXPECT_EQ(mApp->mForceWindowed, c.forceWindowedAfter);
        EXPECT_EQ(Display().mIs3D, c.is3DAfter);
        EXPECT_EQ(mApp->m3DChangedThisSession, c.is3D);
        if (c.exitCode == -1) {
            EXPECT_TRUE(Display().initResults.empty());
            EXPECT_EQ(Manager().drawImage, Display().mScreenImage);
            EXPECT_TRUE(TimerRunsOn(mApp->mMainWindow));
        }
    }
}

TEST_F(ScreenModes, ThreeDSwitches)
{
    OpenWindow();
    const int inits = Display().initCalls;
    const int dirty = Manager().markAllDirtyCalls;

    // The value in effect does nothing.
    mApp->Set3DAcceleration(false, true);
    EXPECT_EQ(Display().initCalls, inits);
    EXPECT_FALSE(mApp->m3DChangedThisSession);

    // Without re-initialising only the flags change.
    mApp->Set3DAcceleration(true, false);
    EXPECT_TRUE(Display().mIs3D);
    EXPECT_TRUE(mApp->m3DChangedThisSession);
    EXPECT_EQ(Display().initCalls, inits);

    // Back to software, re-initialised: the images and widgets are made for the new screen.
    WalkedImage image(*mApp);
    Manager().drawImage = nullptr;
    mApp->Set3DAcceleration(false, true);
    EXPECT_FALSE(Display().mIs3D);
    EXPECT_EQ(Display().initCalls, inits + 1);
    EXPECT_EQ(image.displayData, 1);
    EXPECT_EQ(image.conversions, 1);
    EXPECT_EQ(Manager().drawImage, Display().mScreenImage);
    EXPECT_EQ(Manager().markAllDirtyCalls, dirty + 1);

    // 3D that fails ends in software.
    Display().initResults = {Tandry::RESULT_D3D_INIT_FAIL};
    mApp->Set3DAcceleration(true, true);
    EXPECT_FALSE(Display().mIs3D);
    EXPECT_EQ(Display().initCalls, inits + 3);

    // Software that fails is fatal.
    mApp->Set3DAcceleration(true, false);
    Display().initResults = {Tandry::RESULT_SURFACE_FAIL};
    EXPECT_EQ(ExitCodeOf([&] { mApp->Set3DAcceleration(false, true); }), 1);
    EXPECT_EQ(OnlyPopup(), L"Failed to initialize DirectDraw: RESULT_SURFACE_FAIL scripted failure");
}

TEST_F(ScreenModes, ChangingTheMode)
{
    OpenWindow();
    Platform::WindowSystem& windows = mPlatform->Windows();
    const int inits = Display().initCalls;
    int made = mApp->windowsMade;

    // The mode in effect only switches 3D.
    mApp->ChangeScreenMode(true, true, false);
    EXPECT_EQ(mApp->windowsMade, made);
    EXPECT_TRUE(Display().mIs3D);
    EXPECT_EQ(Display().initCalls, inits + 1);
    EXPECT_TRUE(Sound().windows.empty());

    // Another mode re-creates the window, shows and activates it.
    mApp->ChangeScreenMode(false, false, false);
    EXPECT_EQ(mApp->windowsMade, ++made);
    EXPECT_FALSE(mApp->mIsWindowed);
    EXPECT_FALSE(Display().mIs3D);
    EXPECT_EQ(windows.GetActiveWindow(), mApp->mMainWindow);
    ASSERT_EQ(Sound().windows.size(), 1u);
    EXPECT_EQ(Sound().windows[0], std::make_pair(mApp->mMainWindow, false));

    // While a browser opens, the new window does not take the focus.
    mApp->mBrowserLaunchPending = true;
    mApp->ChangeScreenModeWindowed(true);
    EXPECT_TRUE(mApp->mIsWindowed);
    EXPECT_NE(windows.GetActiveWindow(), mApp->mMainWindow);
    EXPECT_EQ(Sound().windows.back(), std::make_pair(mApp->mMainWindow, true));
    mApp->mBrowserLaunchPending = false;

    // Re-creation keeps the mode.
    made = mApp->windowsMade;
    mApp->RecreateScreenMode();
    EXPECT_EQ(mApp->windowsMade, made + 1);
    EXPECT_TRUE(mApp->mIsWindowed);
    EXPECT_EQ(windows.GetActiveWindow(), mApp->mMainWindow);

    // With windowed mode impossible, asking for it gives full screen.
    mApp->mForceFullScreen = true;
    mApp->ChangeScreenModeWindowed(true);
    EXPECT_FALSE(mApp->mWindowed);
    EXPECT_FALSE(mApp->mIsWindowed);
    EXPECT_TRUE(TimerRunsOn(mApp->mMainWindow));
}

TEST_F(ScreenModes, AltEnterAndMaximisingReachTheModeChange)
{
    OpenWindow();
    SendAndProcess(Platform::WM_SYSKEYDOWN, Platform::VK_RETURN);
    EXPECT_FALSE(mApp->mIsWindowed);
    SendAndProcess(Platform::WM_SYSKEYDOWN, Platform::VK_RETURN);
    EXPECT_TRUE(mApp->mIsWindowed);
    SendAndProcess(Platform::WM_SIZE, Platform::SIZE_MAXIMIZED);
    EXPECT_FALSE(mApp->mIsWindowed);
}

TEST_F(ScreenModes, ScreenInVideoMemoryIsSetOnce)
{
    OpenWindow();
    const int dirty = Manager().markAllDirtyCalls;
    mApp->SetScreenInVideoMemory(true);
    mApp->SetScreenInVideoMemory(true);
    EXPECT_TRUE(Display().mScreenInVideoMemory);
    EXPECT_EQ(Manager().markAllDirtyCalls, dirty + 1);
}

TEST_F(ScreenModes, TheCapabilityTestsAnswers)
{
    OpenWindow();
    EXPECT_FALSE(mApp->Is3DTestPassed());
    EXPECT_FALSE(mApp->Is3DTestPassedWithoutWarning());
    Display().GiveTester(true, false);
    EXPECT_TRUE(mApp->Is3DTestPassed());
    EXPECT_TRUE(mApp->Is3DTestPassedWithoutWarning());
    Display().mD3DTester->mWarning = "slow";
    EXPECT_TRUE(mApp->Is3DTestPassed());
    EXPECT_FALSE(mApp->Is3DTestPassedWithoutWarning());
    Display().GiveTester(false, false);
    EXPECT_FALSE(mApp->Is3DTestPassed());
    EXPECT_FALSE(mApp->Is3DTestPassedWithoutWarning());
}

TEST_F(ScreenModes, TheImageWalksVisitEveryImageUnderTheLock)
{
    OpenWindow();
    WalkedImage first(*mApp);
    WalkedImage second(*mApp);
    mApp->RebuildAllImages();
    mApp->DropNativeImageData();
    mApp->DropExtraImageBuffers();
    for (const WalkedImage* image : {&first, &second}) {
        EXPECT_EQ(image->conversions, 1);
        EXPECT_EQ(image->displayData, 1);
        EXPECT_EQ(image->derived, 1);
        EXPECT_EQ(image->unlockedCalls, 0);
    }
}

TEST_F(ScreenModes, ModeChangesWhileAnotherThreadMakesImages)
{
    OpenWindow();
    std::atomic<bool> stop{false};
    std::thread maker([this, &stop] {
        while (!stop) {
            delete new Tandry::MemoryImage(mApp.get());
        }
    });
    for (int i = 0; i < 100; ++i)
        mApp->ChangeScreenModeWindowed(!mApp->mWindowed);
    stop = true;
    maker.join();
    EXPECT_TRUE(mApp->mIsWindowed);
}

} // namespace
} // namespace LoopTest
