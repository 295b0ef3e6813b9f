// The real loop on the SDL back end under its dummy driver: real clock, real
// threads, a real (invisible) window, and a close that ends the run.
#include "app/TandryAppBase.h"
#include "platform/Platform.h"
#include "platform/fs/ScratchFolder.h"
#include "platform/sdl/SdlPlatform.h"
#include "platform/sdl/SdlTestSupport.h"
#include "platform/window/WindowMessages.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace {

// A run that closes its own window after 50 updates.
class ClosingApp : public Tandry::TandryAppBase {
public:
    void UpdateTick() override
    {
        TandryAppBase::UpdateTick();
        // Something changed on the screen, so the next draw pass presents.
        if (redrawEachUpdate)
            mForceRedraw = true;
        if (mUpdateCount == 50)
            Platform::GetPlatform().GetWindows().PostMessage(mMainWindow, Platform::WM_CLOSE, 0, 0);
    }

    bool redrawEachUpdate = false;
};

int CountThreads()
{
    int count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/task"))
        ++count;
    return count;
}

// The SDL platform with its dummy drivers and settings in a scratch folder,
// under a product name of this process, so that parallel test processes
// never share the single-instance channel.
class SdlMainLoop : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("XDG_CONFIG_HOME", (mScratch.Path() / "config").c_str(), 1);
        setenv("XDG_DATA_HOME", (mScratch.Path() / "data").c_str(), 1);
        Platform::SdlTestSupport::UseDummyDrivers();
        mFolder = std::filesystem::current_path();
        mProduct = "MoorglenLoop" + std::to_string(getpid());
        auto platform = Platform::kSdlBootstrap.create({"Hollowmere", mProduct, {}});
        ASSERT_NE(platform, nullptr);
        Platform::InstallPlatform(std::move(platform));
    }

    void TearDown() override
    {
        Platform::ResetPlatform();
        std::filesystem::current_path(mFolder);
    }

    // The game's logical screen under this process's product name.
    void Name(ClosingApp& app) const
    {
        app.mProductName = mProduct;
        app.mRegistryKey = "Hollowmere\\" + mProduct;
        app.mWidth = 1024;
        app.mHeight = 768;
    }

    // The client area shows the whole logical screen.
    static void ExpectTheClientArea(const ClosingApp& app)
    {
        Platform::WinRect client;
        ASSERT_TRUE(Platform::GetPlatform().GetWindows().GetClientRect(app.mMainWindow, client));
        EXPECT_EQ(client, (Platform::WinRect{0, 0, app.mWidth, app.mHeight}));
    }

private:
    TestSupport::ScratchFolder mScratch;
    std::filesystem::path mFolder;
    std::string mProduct;
};

TEST_F(SdlMainLoop, TheLoopRunsUntilTheWindowIsClosedAndLeavesNoThread)
{
    ClosingApp app;
    Name(app);
    app.mSmoothVSync = true;
    app.Init();
    ASSERT_TRUE(app.mInitDone);
    ExpectTheClientArea(app);
    [[maybe_unused]] const int threadsBefore = CountThreads();
    app.Start();
    EXPECT_GE(app.mUpdateCount, 50);
    EXPECT_TRUE(app.mShutdown);
    EXPECT_FALSE(app.mCursorThreadRunning);
    EXPECT_TRUE(app.mLoadingThreadDone);
#if !defined(__SANITIZE_THREAD__)
    // ThreadSanitizer starts a helper thread of its own at some point.
    EXPECT_EQ(CountThreads(), threadsBefore);
#endif
}

TEST_F(SdlMainLoop, FullScreenAndBackKeepsTheClientAreaAndTheLoopPresenting)
{
    ClosingApp app;
    Name(app);
    // The dummy driver's desktop is 1024 x 768, where only full screen fits that size.
    app.mWidth = 800;
    app.mHeight = 600;
    app.Init();
    ASSERT_TRUE(app.mInitDone);
    ASSERT_TRUE(app.mIsWindowed);
    app.ChangeScreenModeWindowed(false);
    EXPECT_FALSE(app.mIsWindowed);
    app.ChangeScreenModeWindowed(true);
    ASSERT_TRUE(app.mIsWindowed);
    ExpectTheClientArea(app);
    app.redrawEachUpdate = true;
    const int drawsBefore = app.mDrawCount;
    app.Start();
    EXPECT_GE(app.mUpdateCount, 50);
    EXPECT_GT(app.mDrawCount, drawsBefore);
}

} // namespace
