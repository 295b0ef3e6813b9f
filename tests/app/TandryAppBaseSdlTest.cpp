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
        if (mUpdateCount == 50)
            Platform::GetPlatform().GetWindows().PostMessage(mMainWindow, Platform::WM_CLOSE, 0, 0);
    }
};

int CountThreads()
{
    int count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/task"))
        ++count;
    return count;
}

TEST(SdlMainLoop, TheLoopRunsUntilTheWindowIsClosedAndLeavesNoThread)
{
    TestSupport::ScratchFolder scratch;
    setenv("XDG_CONFIG_HOME", (scratch.Path() / "config").c_str(), 1);
    setenv("XDG_DATA_HOME", (scratch.Path() / "data").c_str(), 1);
    Platform::SdlTestSupport::UseDummyDrivers();
    const std::filesystem::path folder = std::filesystem::current_path();
    // Unique per process, so parallel test processes never share the single-instance channel.
    const std::string product = "MoorglenLoop" + std::to_string(getpid());
    auto platform = Platform::kSdlBootstrap.create({"Hollowmere", product, {}});
    ASSERT_NE(platform, nullptr);
    Platform::InstallPlatform(std::move(platform));
    {
        ClosingApp app;
        app.mProductName = product;
        app.mRegistryKey = "Hollowmere\\" + product;
        app.mWidth = 1024;
        app.mHeight = 768;
        app.mSmoothVSync = true;
        app.Init();
        ASSERT_TRUE(app.mInitDone);
        Platform::WinRect client;
        ASSERT_TRUE(Platform::GetPlatform().GetWindows().GetClientRect(app.mMainWindow, client));
        EXPECT_EQ(client, (Platform::WinRect{0, 0, 1024, 768}));
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
    Platform::ResetPlatform();
    std::filesystem::current_path(folder);
}

} // namespace
