#include "platform/Platform.h"

#include "platform/headless/HeadlessPlatform.h"
#include "platform/window/WindowMessages.h"
#include "tests/support/FallbackPlatform.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <thread>

using namespace Platform;

namespace {

TEST(Platform, AHeadlessPlatformIsMadeOnFirstUseAndResetForgetsIt)
{
    ResetPlatform();
    EXPECT_EQ(TryGetPlatform(), nullptr);
    ::Platform::ServiceBundle& made = GetPlatform();
    EXPECT_EQ(TryGetPlatform(), &made);
    EXPECT_EQ(made.GetCompanyName(), "Hollowmere");
    EXPECT_EQ(made.GetProductName(), "Moorglen");
    EXPECT_NE(dynamic_cast<HeadlessPlatform*>(&made), nullptr);
    ResetPlatform();
    EXPECT_EQ(TryGetPlatform(), nullptr);
}

TEST(Platform, WithoutAFallbackAMissingPlatformIsAnErrorNotAGuess)
{
    ResetPlatform();
    SetFallbackPlatformFactory(nullptr);
    EXPECT_THROW(GetPlatform(), std::logic_error);
    EXPECT_EQ(TryGetPlatform(), nullptr);
    SetFallbackPlatformFactory(&TandryTest::MakeFallbackPlatform);
    EXPECT_NE(dynamic_cast<HeadlessPlatform*>(&GetPlatform()), nullptr);
    ResetPlatform();
}

TEST(Platform, InstallingReplacesThePreviousPlatform)
{
    HeadlessPlatform& first = InstallHeadlessPlatform();
    HeadlessPlatform::Options options;
    options.product = "Other";
    HeadlessPlatform& second = InstallHeadlessPlatform(options);
    EXPECT_NE(&first, &second);
    EXPECT_EQ(&GetPlatform(), &second);
    EXPECT_EQ(GetPlatform().GetProductName(), "Other");
    ResetPlatform();
}

TEST(Platform, TheBootstrapTableIsWalkedByHint)
{
    std::array<const PlatformBootstrap*, 1> table{&kHeadlessBootstrap};
    PlatformConfig config{"Hollowmere", "Moorglen", {"-play"}};
    std::string error;
    auto chosen = CreatePlatform(table, nullptr, config, error);
    ASSERT_NE(chosen, nullptr);
    EXPECT_EQ(chosen->GetProcess().GetCommandLine(), "\"/opt/moorglen/moorglen\" -play");
    EXPECT_NE(CreatePlatform(table, "headless", config, error), nullptr);
    EXPECT_EQ(CreatePlatform(table, "x11", config, error), nullptr);
    EXPECT_NE(error.find("headless"), std::string::npos);
}

TEST(Platform, HeadlessFoldersAreTemporaryAndRemovedWithThePlatform)
{
    std::string root;
    {
        HeadlessPlatform platform;
        root = platform.Folders().GetRoot();
        EXPECT_EQ(platform.GetFolders().GetAppDataFolder(), root + "/data");
        EXPECT_EQ(platform.GetFolders().GetSettingsFolder(), root + "/config");
        EXPECT_TRUE(std::filesystem::is_directory(root + "/data"));
        HeadlessPlatform other;
        EXPECT_NE(other.Folders().GetRoot(), root);
    }
    EXPECT_FALSE(std::filesystem::exists(root));
}

TEST(Platform, HeadlessThreadPrioritiesAreRecordedPerThread)
{
    HeadlessPlatform platform;
    ThreadControl& threads = platform.GetThreads();
    uint32_t mainId = threads.GetCurrentThreadId();
    threads.SetCurrentThreadPriority(ThreadPriority::AboveNormal);
    uint32_t otherId = 0;
    std::thread other([&] {
        otherId = threads.GetCurrentThreadId();
        threads.SetCurrentThreadPriority(ThreadPriority::Highest);
    });
    other.join();
    EXPECT_NE(mainId, otherId);
    EXPECT_EQ(platform.Threads().GetPriorityOf(mainId), ThreadPriority::AboveNormal);
    EXPECT_EQ(platform.Threads().GetPriorityOf(otherId), ThreadPriority::Highest);
    EXPECT_EQ(platform.Threads().GetChanges().size(), 2u);
}

TEST(Platform, HeadlessShellAndClipboard)
{
    HeadlessPlatform platform;
    platform.Shell().ScriptResult(false);
    EXPECT_FALSE(platform.GetShell().OpenUrl("http://example.invalid/a"));
    EXPECT_TRUE(platform.GetShell().OpenUrl("http://example.invalid/b"));
    EXPECT_EQ(platform.Shell().GetOpenedUrls().size(), 2u);
    EXPECT_EQ(platform.GetClipboard().GetText(), std::nullopt);
    platform.GetClipboard().SetText("caf\xE9");
    EXPECT_EQ(platform.GetClipboard().GetText(), "caf\xE9");
}

} // namespace

namespace {

::Platform::ServiceBundle* gSeenAtDestroy = nullptr;

intptr_t AskingProc(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (message == WM_DESTROY)
        gSeenAtDestroy = TryGetPlatform();
    return GetPlatform().GetWindows().DefWindowProc(window, message, wParam, lParam);
}

TEST(Platform, WindowsCloseWhileTheirPlatformIsStillTheCurrentOne)
{
    HeadlessPlatform& platform = InstallHeadlessPlatform();
    platform.Windows().RegisterWindowClass({"MainWindow", CS_DBLCLKS, AskingProc, 0});
    platform.Windows().CreateWindow("MainWindow", L"", WS_POPUP, 0, 0, 0, 10, 10);
    gSeenAtDestroy = nullptr;
    ResetPlatform();
    EXPECT_EQ(gSeenAtDestroy, &platform);
    EXPECT_EQ(TryGetPlatform(), nullptr); // no platform was made on the way down
}

} // namespace
