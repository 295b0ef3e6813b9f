// A game test on the game's own application object: the recording headless
// platform of the application tests, a game object without display (its
// window only), initialised, whose loop runs the boards through its own
// steps; the loading thread really runs. Fake boards write what happens to
// them into one call log, from whichever thread they run on.
#pragma once

#include "app/AppTestSupport.h"
#include "game/shell/BaseBoard.h"
#include "game/shell/BoardRegistry.h"
#include "game/shell/GameApp.h"
#include "game/shell/GameControllerCommon.h"
#include "game/shell/GlobalResources.h"
#include "game/shell/MakeBoardTransformer.h"
#include "game/shell/ProcessList.h"
#include "game/shell/SceneStarter.h"
#include "game/shell/ShellAppFixture.h"
#include "game/shell/ProfileManager.h"
#include "platform/Platform.h"
#include "platform/fs/ScratchFolder.h"
#include "resources/images/ImageWriters.h"
#include "resources/ini/GameIni.h"
#include "tests/game/GlobalResourceIds.h"
#include "resources/ini/LangTable.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace ShellTest {

using GameTest::GlobalFontIds;
using GameTest::GlobalImageIds;

// The least data the game's start-up needs, in folder: a manifest whose
// group "Common" has every font (system fonts) and picture (1 x 1 PNG files)
// the game binds, except the id left out, and an empty group "Game".
inline void WriteStartupData(const std::string& folder, const std::string& leftOut = "")
{
    std::filesystem::create_directories(folder + "/data/properties");
    std::filesystem::create_directories(folder + "/data/images");
    std::string manifest = "<?xml version=\"1.0\"?>\n<ResourceManifest>\n  <Resources id=\"Common\">\n";
    for (const std::string& id : GlobalFontIds()) {
        if (id != leftOut)
            manifest += "    <Font id=\"" + id + "\" path=\"!sys:Sans\" size=\"10\"/>\n";
    }
    const uint32_t pixel = 0xFF808080;
    for (const std::string& id : GlobalImageIds()) {
        if (id == leftOut)
            continue;
        const std::string file = "data/images/" + id + ".png";
        ASSERT_TRUE(Tandry::SavePngToFile(folder + "/" + file, {1, 1, &pixel}));
        manifest += "    <Image id=\"" + id + "\" path=\"" + file + "\"/>\n";
    }
    manifest += "  </Resources>\n  <Resources id=\"Game\"/>\n</ResourceManifest>\n";
    TestSupport::WriteFile(folder + "/data/properties/resources.xml", manifest);
}

// Shared by the fake boards and the test; safe from the loading thread.
class CallLog {
public:
    void Add(const std::string& entry)
    {
        std::lock_guard<std::mutex> lock(mLock);
        mEntries.push_back(entry);
    }
    std::vector<std::string> Take()
    {
        std::lock_guard<std::mutex> lock(mLock);
        std::vector<std::string> taken;
        taken.swap(mEntries);
        return taken;
    }

private:
    std::mutex mLock;
    std::vector<std::string> mEntries;
};

// A board that logs its hooks as "<name> <hook>". With tasks it loads them
// one by one and counts each with AdvanceLoadingProgress; while the gate is
// closed its loading waits, so that a test decides when loading ends.
class FakeBoard : public Tandry::BaseBoard {
public:
    FakeBoard(std::string boardName, CallLog& calls, bool wantsLoading = false, int taskCount = 0)
        : BaseBoard(wantsLoading), name(std::move(boardName)), musicKey(name), tasks(taskCount), mCalls(calls)
    {
    }
    ~FakeBoard() override
    {
        if (alive != nullptr)
            *alive = false;
        Log("deleted");
    }

    void Init() override { Log("Init"); }
    std::string GetName() override { return name; }
    std::string GetMusicKey() override { return musicKey; }
    void OnShown() override
    {
        shownCounter = Platform::GetPlatform().GetClock().QueryPerformanceCounter();
        shownUpdate = Tandry::gApplication != nullptr ? Tandry::gApplication->mUpdateCount : -1;
        Log("OnShown");
    }
    int LoadingTaskCount() override { return tasks; }
    void LoadResources() override
    {
        loadedOnOtherThread = std::this_thread::get_id() != mainThread;
        Log("LoadResources");
        while (!gateOpen)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        for (int i = 0; i < tasks; ++i)
            Tandry::AdvanceLoadingProgress();
    }
    void OnLoaded() override { Log("FinishLoading"); }
    void OnRemoved() override { Log("OnRemoved"); }
    void GotFocus() override
    {
        Widget::GotFocus();
        Log("focus");
    }
    void AddedToManager(Tandry::WidgetManager* widgetManager) override
    {
        BaseBoard::AddedToManager(widgetManager);
        Log("added");
    }
    void RemovedFromManager(Tandry::WidgetManager* widgetManager) override
    {
        BaseBoard::RemovedFromManager(widgetManager);
        Log("removed");
    }

    std::string name;
    std::string musicKey;
    int tasks;
    std::atomic<bool> gateOpen{true};
    // Cleared by the destructor when set.
    bool* alive = nullptr;
    std::thread::id mainThread = std::this_thread::get_id();
    bool loadedOnOtherThread = false;
    // The performance counter and update count at OnShown; 0 and -1 before.
    int64_t shownCounter = 0;
    int shownUpdate = -1;

private:
    void Log(const std::string& hook) { mCalls.Add(name + " " + hook); }

    CallLog& mCalls;
};

// The game object with its window but no display, as the application tests
// run theirs; it notes the update in which the loading thread's end reached it.
class WindowOnlyGameApp : public Tandry::GameApp {
public:
    void CreateAppWindow() override
    {
        Platform::WindowSystem& windows = Platform::GetPlatform().GetWindows();
        // A screen-mode change makes the window again; the old one must no
        // longer reach this object once it is gone.
        if (mMainWindow != nullptr) {
            const Platform::WindowHandle old = mMainWindow;
            windows.SetWindowUserData(old, nullptr);
            mMainWindow = nullptr;
            windows.DestroyWindow(old);
        }
        mIsWindowed = mWindowed;
        mMainWindow = windows.CreateWindow("MainWindow", mWindowTitle, 0, 0, 0, 0, mWidth, mHeight);
        windows.SetWindowUserData(mMainWindow, this);
    }
    void OnLoadingThreadDone() override
    {
        loadingDoneUpdate = mUpdateCount;
        GameApp::OnLoadingThreadDone();
    }

    int loadingDoneUpdate = -1;
};

// What a game object leaves behind in the shell's globals, back to its start;
// after the game object is gone.
inline void ResetGameShellState()
{
    Tandry::ShutdownProfileManager();
    Tandry::ResetGameFolders();
    Tandry::ResetGlobalResources();
    Tandry::ResetLangTableForTests();
    Tandry::FreeAllProcesses();
    Tandry::ResetBoardRegistry();
    Tandry::ResetSceneStarter();
    Tandry::ResetGameControllerCommon();
    Tandry::ResetGameIni();
    Tandry::ResetBoardTransformerDefault();
}

class GameAppFixture : public AppTest::AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        // No [ScreenEffect]: every transition is "none" and ends on its first update.
        Tandry::ResetGameIni();
        Tandry::ResetBoardTransformerDefault();
        Tandry::ResetBoardRegistry();
        Tandry::ResetSceneStarter();
        Tandry::ResetLangTableForTests();
        WriteStartupData(ProgramFolder());
        app = std::make_unique<WindowOnlyGameApp>();
        app->Init();
    }
    void TearDown() override
    {
        app.reset();
        ResetGameShellState();
        AppFixture::TearDown();
    }

    void RunUpdate() { RunUpdatePass(*app); }
    // Update passes until done() holds, at most limit of them; false when it never did.
    template <class Done>
    bool RunUpdatesUntil(Done done, int limit)
    {
        for (int i = 0; i < limit && !done(); ++i) {
            RunUpdate();
            if (::testing::Test::HasFatalFailure())
                return false;
        }
        return done();
    }
    // Lets the board's loading end, and waits until the loading thread has
    // ended; no update runs meanwhile, so no game time passes.
    void FinishLoadingNow(FakeBoard& board)
    {
        board.gateOpen = true;
        WaitForLoadingThreadEnd();
    }
    // The loading thread takes real time, which passes while no update runs.
    void WaitForLoadingThreadEnd()
    {
        while (!app->mLoadingThreadDone)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    Tandry::WidgetManager& Manager() { return *app->mWidgetManager; }

    std::unique_ptr<WindowOnlyGameApp> app;
    CallLog calls;
};

} // namespace ShellTest
