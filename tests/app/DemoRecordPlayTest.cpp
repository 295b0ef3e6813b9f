// A run recorded through the window procedure and the loop, then played back
// on a different machine state: other display, clock, registry, clipboard,
// loading time and input. The game logic must see the same things.
#include "DemoTestSupport.h"

#include "app/UserDataDir.h"
#include "platform/fs/FileOps.h"
#include "platform/fs/FindData.h"
#include "platform/window/WindowMessages.h"
#include "util/Format.h"
#include "util/RandomGenerator.h"
#include "util/StringUtils.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

using LoopTest::DemoFixture;

// Draws a random number every update, starts loading at update 10, and logs
// what it sees of the outside.
class DemoRunApp : public LoopTest::LoopApp {
public:
    DemoRunApp()
    {
        mCompanyName = "Hollowmere";
        mRegistryKey = "Hollowmere\\Moorglen";
    }

    void UpdateTick() override
    {
        LoopApp::UpdateTick();
        log.push_back(Tandry::FormatString("random %d @%d", Tandry::RandomGenerator::Global().Next(), mUpdateCount));
        if (mUpdateCount == 10)
            LaunchLoadingThread();
        auto it = script.find(mUpdateCount);
        if (it != script.end()) {
            auto action = std::move(it->second);
            script.erase(it);
            action();
        }
    }
    void OnLoadingThreadDone() override
    {
        LoopApp::OnLoadingThreadDone();
        log.push_back(Tandry::FormatString("loading done @%d", mUpdateCount));
    }

    std::vector<std::string> log;
    // Run once after the update of that number.
    std::map<int, std::function<void()>> script;
};

class DemoRecordPlay : public DemoFixture {
protected:
    void TearDown() override
    {
        DemoFixture::TearDown();
        Tandry::ResetUserDataDir();
    }

    DemoRunApp& App() { return static_cast<DemoRunApp&>(*mApp); }

    // A new application whose key 'R' reads a DWORD and character 22 the clipboard.
    void MakeRunApp(uint32_t loadingMs)
    {
        RemakeApp(std::make_unique<DemoRunApp>());
        DemoRunApp& app = App();
        app.loadingBody = [loadingMs] { Platform::GetPlatform().GetClock().Sleep(loadingMs); };
        Inputs().onKeyDown = [&app](int key) {
            if (key != 'R')
                return;
            int value = 0;
            const bool ok = app.ReadRegistryDword("Stored", &value);
            app.log.push_back(Tandry::FormatString("registry %d %d @%d", ok ? 1 : 0, value, app.mUpdateCount));
        };
        Inputs().onKeyChar = [&app](wchar_t ch) {
            if (ch == 22)
                app.log.push_back("clipboard " + app.GetClipboardText() + Tandry::FormatString(" @%d", app.mUpdateCount));
        };
    }

    void StoreDword(const std::string& name, uint32_t value)
    {
        Platform::RegistryKey key;
        ASSERT_TRUE(mPlatform->Registry().CreateKey("SOFTWARE\\Hollowmere\\Moorglen", key));
        const uint8_t bytes[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                                  static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
        ASSERT_TRUE(mPlatform->Registry().SetValue(key, name, Platform::REG_DWORD, bytes, 4));
    }

    void At(int update, std::function<void()> action) { App().script[update] = std::move(action); }
    void Mouse(uint32_t message, int x, int y, uintptr_t keys = 0) { Send(message, keys, Platform::MakeLParam(x, y)); }

    // Runs the loop as Start does, until the shutdown.
    void RunToShutdown()
    {
        mApp->mInMainLoop = true;
        for (int i = 0; i < 20000 && !mApp->mShutdown; ++i) {
            const uint32_t before = Clock().GetTickCount();
            mApp->RunUpdateStep(nullptr);
            // A real step always takes some time: a playback that waits for
            // the loading thread draws without sleeping.
            if (Clock().GetTickCount() == before)
                Clock().Advance(1);
        }
        ASSERT_TRUE(mApp->mShutdown) << "stopped at update " << mApp->mUpdateCount;
        mApp->WaitForLoadingThread();
    }

    void InitWith(const std::string& option, bool windowed)
    {
        mPlatform->Process().SetArguments({option});
        mApp->mWindowed = windowed;
        mApp->Init();
        // Shown without activation: a deactivation and activation in one
        // pump reach the live run as one state but the replay as two.
        mPlatform->Windows().ShowWindow(mApp->mMainWindow, Platform::SW_SHOWNOACTIVATE);
        // Creating the window reads the live activation, which differs
        // between the two runs of one test process; the traces start after.
        Inputs().calls.clear();
    }

    struct RunResult {
        std::vector<std::string> inputs;
        std::vector<std::string> log;
        int loadingDoneCalls = 0;
        int finalUpdate = 0;
    };
    RunResult Result()
    {
        return {ComparableTrace(Inputs().calls), App().log, App().loadingDoneCalls, mApp->mUpdateCount};
    }

    // The live run hands the widgets a move with every mouse message, also
    // to where the mouse already is; the stream keeps only real moves. And
    // the focus at update 0 follows the activation the window's creation
    // reads from the system, which the stream does not carry: the replayed
    // activation that follows can add a change the live run did not have.
    static std::vector<std::string> ComparableTrace(const std::vector<std::string>& calls)
    {
        std::vector<std::string> kept;
        std::string lastPosition = "0,0";
        for (const std::string& call : calls) {
            if (call == "GotFocus @0" || call == "LostFocus @0")
                continue;
            if (call.rfind("MouseMove ", 0) == 0) {
                const std::string position = call.substr(10, call.find(' ', 10) - 10);
                if (position == lastPosition)
                    continue;
                lastPosition = position;
            }
            kept.push_back(call);
        }
        return kept;
    }
};

TEST_F(DemoRecordPlay, APlayedRunSeesWhatTheRecordedRunSaw)
{
    // Recording: full screen, the logical 1024 x 768 in a 768 x 576 area at x 128.
    Platform::MakeFolder(*mPlatform->Folders().GetAppDataFolder());
    Platform::MakeFolder(*mPlatform->Folders().GetAppDataFolder() + "/Hollowmere");
    Platform::MakeFolder(*mPlatform->Folders().GetAppDataFolder() + "/Hollowmere/Moorglen");
    StoreDword("Stored", 1234);
    mPlatform->Clipboard().SetText("recorded text");
    MakeRunApp(300);
    InitWith("-record", false);
    ASSERT_TRUE(mApp->mRecordingDemo);
    mApp->mWidgetManager->mouseRect = Tandry::Rect(128, 0, 768, 576);
    PutCursorAt(400, 300);

    At(3, [&] { Mouse(Platform::WM_MOUSEMOVE, 400, 300); });
    At(4, [&] {
        Mouse(Platform::WM_MOUSEMOVE, 410, 290);
        Mouse(Platform::WM_MOUSEMOVE, 700, 500);
    });
    At(5, [&] {
        Mouse(Platform::WM_LBUTTONDOWN, 700, 500, Platform::MK_LBUTTON);
        Mouse(Platform::WM_LBUTTONUP, 700, 500);
        Mouse(Platform::WM_RBUTTONDOWN, 700, 500);
        Mouse(Platform::WM_RBUTTONUP, 700, 500);
    });
    At(6, [&] {
        Mouse(Platform::WM_MBUTTONDOWN, 700, 500);
        Mouse(Platform::WM_MBUTTONUP, 700, 500);
        Mouse(Platform::WM_RBUTTONDBLCLK, 700, 500);
        Mouse(Platform::WM_RBUTTONUP, 700, 500);
    });
    // A captured drag out of the client area on the left and back.
    At(8, [&] {
        Mouse(Platform::WM_MOUSEMOVE, 140, 300);
        Mouse(Platform::WM_LBUTTONDOWN, 140, 300, Platform::MK_LBUTTON);
        for (int x : {120, 100, 80, 60, 80, 100, 120, 140})
            Mouse(Platform::WM_MOUSEMOVE, x, 300, Platform::MK_LBUTTON);
        Mouse(Platform::WM_LBUTTONUP, 140, 300);
    });
    At(12, [&] { Send(Platform::WM_MOUSEWHEEL, static_cast<uintptr_t>(Platform::MakeLParam(0, -240))); });
    At(13, [&] {
        Send(Platform::WM_KEYDOWN, 'R');
        Send(Platform::WM_KEYUP, 'R');
        Send(Platform::WM_CHAR, 'a');
        Send(Platform::WM_CHAR, 0xE9);
        Send(Platform::WM_CHAR, 22);
    });
    At(20, [&] { Send(Platform::WM_ACTIVATEAPP, 0); });
    At(22, [&] { Send(Platform::WM_ACTIVATEAPP, 1); });
    At(25, [&] { Send(Platform::WM_SIZE, Platform::SIZE_MINIMIZED); });
    At(27, [&] { Send(Platform::WM_SIZE, Platform::SIZE_RESTORED); });
    At(30, [&] { PutCursorAt(3000, 3000); });
    At(36, [&] { PutCursorAt(300, 200); });
    // The loading thread wakes in real time once the loop's virtual time
    // passed its sleep; the recording must see it finish before the close.
    At(60, [&] {
        ASSERT_TRUE(LoopTest::WaitFor([&] {
            if (!mApp->mLoadingThreadDone)
                Clock().Advance(10);
            return mApp->mLoadingThreadDone.load();
        }));
    });
    At(70, [&] { Send(Platform::WM_KEYDOWN, 'Q'); });
    At(90, [&] { Send(Platform::WM_CLOSE); });
    RunToShutdown();
    const RunResult recorded = Result();
    const std::string demoFile = mApp->mDemoFileName;
    mApp.reset();
    ASSERT_NE(Platform::GetFileAttributes(demoFile), Platform::kInvalidFileAttributes);

    // Playback: windowed at 75 Hz, later clock, other values, slower loading, other input.
    Clock().Advance(49000);
    StoreDword("Stored", 5678);
    mPlatform->Clipboard().SetText("other text");
    const Platform::RegistryStore storeBefore = mPlatform->Registry().Snapshot();
    mPrepareDisplay = [](LoopTest::ScriptedDisplay& display) { display.SetRefreshRate(75); };
    MakeRunApp(2000);
    InitWith("-play", true);
    ASSERT_TRUE(mApp->mPlayingDemo);
    EXPECT_EQ(mApp->mRefreshRate, 60);
    At(4, [&] { Mouse(Platform::WM_MOUSEMOVE, 10, 10); });
    At(5, [&] {
        Mouse(Platform::WM_LBUTTONDOWN, 10, 10, Platform::MK_LBUTTON);
        Mouse(Platform::WM_LBUTTONUP, 10, 10);
    });
    At(13, [&] {
        Send(Platform::WM_KEYDOWN, 'T');
        Send(Platform::WM_CHAR, 'x');
        Send(Platform::WM_MOUSEWHEEL, static_cast<uintptr_t>(Platform::MakeLParam(0, 120)));
    });
    At(21, [&] { Send(Platform::WM_ACTIVATEAPP, 0); });
    RunToShutdown();
    const RunResult played = Result();
    mApp.reset();

    EXPECT_EQ(played.inputs, recorded.inputs);
    EXPECT_EQ(played.log, recorded.log);
    EXPECT_EQ(played.loadingDoneCalls, 1);
    EXPECT_EQ(played.finalUpdate, recorded.finalUpdate);
    EXPECT_TRUE(mPlatform->Registry().Snapshot() == storeBefore);
    EXPECT_TRUE(mPlatform->Dialogs().GetBoxes().empty());

    // The recorded run saw what the test arranged.
    auto contains = [](const std::vector<std::string>& lines, const std::string& text) {
        return std::find(lines.begin(), lines.end(), text) != lines.end();
    };
    EXPECT_TRUE(contains(recorded.log, "registry 1 1234 @13"));
    EXPECT_TRUE(contains(recorded.log, "clipboard recorded text @13"));
    EXPECT_TRUE(contains(recorded.inputs, "MouseDown 762,666,-2 @6"));
    EXPECT_TRUE(contains(recorded.inputs, "MouseWheel -2 @12"));
    EXPECT_TRUE(contains(recorded.inputs, "KeyChar 233 @13"));
    EXPECT_TRUE(contains(recorded.inputs, "MouseExit @30") || contains(recorded.inputs, "MouseExit @31"));
    EXPECT_TRUE(contains(recorded.inputs, "MouseMove -90,400 @8"));
    EXPECT_EQ(recorded.loadingDoneCalls, 1);
}

} // namespace
