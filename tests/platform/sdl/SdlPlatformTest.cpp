#include "platform/sdl/SdlPlatform.h"

#include "platform/Platform.h"
#include "platform/sdl/SdlTestSupport.h"
#include "platform/window/VirtualKeys.h"
#include "platform/window/WindowMessages.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

using namespace Platform;
namespace Support = Platform::SdlTestSupport;

namespace {

intptr_t QuietProc(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    return GetPlatform().GetWindows().DefWindowProc(window, message, wParam, lParam);
}

// Unique per process, so parallel test processes never share a mutex or a socket.
std::string TestProduct()
{
    return "MoorglenTest" + std::to_string(getpid());
}

std::unique_ptr<::Platform::ServiceBundle> MakeSdlPlatform()
{
    Support::UseDummyDrivers();
    return kSdlBootstrap.create({"Hollowmere", TestProduct(), {}});
}

class SdlPlatformTest : public testing::Test {
protected:
    void SetUp() override
    {
        auto platform = MakeSdlPlatform();
        ASSERT_NE(platform, nullptr);
        mPlatform = platform.get();
        InstallPlatform(std::move(platform));
        mWindows = &mPlatform->GetWindows();
        mWindows->RegisterWindowClass({"MainWindow", CS_DBLCLKS, QuietProc, kProgramIconResource});
    }
    void TearDown() override { ResetPlatform(); }

    WindowHandle CreateMain(int32_t x, int32_t y)
    {
        WinRect outer{0, 0, 1024, 768};
        mWindows->AdjustWindowRect(outer, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
        return mWindows->CreateWindow("MainWindow", L"Moorglen \u00e9", WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, x, y,
                                      outer.Width(), outer.Height());
    }

    std::vector<WindowMessage> Drain()
    {
        std::vector<WindowMessage> records;
        WindowMessage record;
        while (mWindows->PeekMessage(record))
            records.push_back(record);
        return records;
    }

    // The records of one kind, in order.
    static std::vector<WindowMessage> Only(const std::vector<WindowMessage>& records, std::vector<uint32_t> kinds)
    {
        std::vector<WindowMessage> picked;
        for (const WindowMessage& record : records) {
            if (std::find(kinds.begin(), kinds.end(), record.message) != kinds.end())
                picked.push_back(record);
        }
        return picked;
    }

    ::Platform::ServiceBundle* mPlatform = nullptr;
    WindowSystem* mWindows = nullptr;
};

TEST(SdlKeyTable, MapsSdlKeysToUsLayoutVirtualKeys)
{
    auto platform = MakeSdlPlatform();
    ASSERT_NE(platform, nullptr);
    struct Case {
        const char* name;
        uint32_t vk;
    };
    const Case cases[] = {{"A", 0x41},           {"Keypad +", 0x6B},   {"F11", 0x7A},
                          {";", 0xBA},           {"Right Shift", 0x10}, {"Right Alt", 0x12},
                          {"Keypad Enter", 0x0D}, {"Left Ctrl", 0x11},  {"Keypad 0", 0x60},
                          {"'", 0xDE},           {"Escape", 0x1B},     {"Application", 0},
                          {"ModeSwitch", 0x12}};
    for (const Case& c : cases)
        EXPECT_EQ(Support::VirtualKeyForKeyName(c.name), c.vk) << c.name;
}

TEST_F(SdlPlatformTest, MainWindowPlacementShowHideAndTimer)
{
    WindowHandle main = CreateMain(100, 60);
    ASSERT_NE(main, nullptr);
    WinRect client;
    ASSERT_TRUE(mWindows->GetClientRect(main, client));
    EXPECT_EQ(client, (WinRect{0, 0, 1024, 768}));
    WindowPlacement placement;
    ASSERT_TRUE(mWindows->GetWindowPlacement(main, placement));
    EXPECT_EQ(placement.showCmd, SW_SHOWNORMAL);
    EXPECT_EQ(placement.normalPosition.left, 100);
    EXPECT_EQ(placement.normalPosition.top, 60);
    WinRect outer{0, 0, 1024, 768};
    mWindows->AdjustWindowRect(outer, WS_POPUP | WS_CAPTION | WS_SYSMENU);
    EXPECT_EQ(placement.normalPosition.Width(), outer.Width());
    EXPECT_EQ(placement.normalPosition.Height(), outer.Height());

    EXPECT_FALSE(mWindows->ShowWindow(main, SW_SHOW));
    EXPECT_TRUE(mWindows->ShowWindow(main, SW_HIDE));
    EXPECT_FALSE(mWindows->ShowWindow(main, SW_SHOWNORMAL));

    ASSERT_TRUE(mWindows->SetTimer(main, 100, 10));
    Drain();
    mPlatform->GetClock().Sleep(15);
    std::vector<WindowMessage> timers = Only(Drain(), {WM_TIMER});
    ASSERT_EQ(timers.size(), 1u);
    EXPECT_EQ(timers[0].wParam, 100u);
    EXPECT_EQ(timers[0].hwnd, main);
}

TEST_F(SdlPlatformTest, PushedKeyAndClickComeOutOfThePumpAsWindowsRecords)
{
    WindowHandle main = CreateMain(0, 0);
    mWindows->ShowWindow(main, SW_SHOW);
    Drain();
    ASSERT_TRUE(Support::PushKey(main, "Left Shift", true));
    ASSERT_TRUE(Support::PushKey(main, "A", true));
    ASSERT_TRUE(Support::PushText(main, "A"));
    ASSERT_TRUE(Support::PushMouseButton(main, 1, true, 1, 10, 20));
    ASSERT_TRUE(Support::PushMouseButton(main, 1, false, 1, 10, 20));
    ASSERT_TRUE(Support::PushMouseButton(main, 1, true, 2, 10, 20));
    std::vector<WindowMessage> records =
        Only(Drain(), {WM_KEYDOWN, WM_CHAR, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK});
    ASSERT_EQ(records.size(), 6u);
    EXPECT_EQ(records[0].message, WM_KEYDOWN);
    EXPECT_EQ(records[0].wParam, VK_SHIFT);
    EXPECT_EQ(records[1].wParam, 0x41u);
    EXPECT_EQ(records[2].message, WM_CHAR);
    EXPECT_EQ(records[2].wParam, static_cast<uintptr_t>('A'));
    EXPECT_EQ(records[3].message, WM_LBUTTONDOWN);
    EXPECT_EQ(records[3].lParam, 0x0014000A);
    EXPECT_EQ(records[3].wParam, MK_LBUTTON | MK_SHIFT);
    EXPECT_EQ(records[4].message, WM_LBUTTONUP);
    EXPECT_EQ(records[5].message, WM_LBUTTONDBLCLK);
    for (const WindowMessage& record : records)
        EXPECT_EQ(record.hwnd, main);
}

TEST_F(SdlPlatformTest, ModeSwitchKeyTypesTheLayoutsCharacterAsAnOrdinaryKey)
{
    WindowHandle main = CreateMain(0, 0);
    mWindows->ShowWindow(main, SW_SHOW);
    Drain();
    ASSERT_TRUE(Support::PushKey(main, "ModeSwitch", true));
    ASSERT_TRUE(Support::PushKey(main, "Q", true));
    ASSERT_TRUE(Support::PushText(main, "@"));
    ASSERT_TRUE(Support::PushKey(main, "Q", false));
    ASSERT_TRUE(Support::PushKey(main, "ModeSwitch", false));
    std::vector<WindowMessage> records =
        Only(Drain(), {WM_KEYDOWN, WM_KEYUP, WM_CHAR, WM_SYSKEYDOWN, WM_SYSKEYUP, WM_SYSCHAR});
    std::vector<uint32_t> messages;
    for (const WindowMessage& record : records)
        messages.push_back(record.message);
    EXPECT_EQ(messages, (std::vector<uint32_t>{WM_KEYDOWN, WM_KEYDOWN, WM_CHAR, WM_KEYUP, WM_KEYUP}));
    ASSERT_EQ(records.size(), 5u);
    EXPECT_EQ(records[0].wParam, VK_MENU);
    EXPECT_EQ(records[2].wParam, static_cast<uintptr_t>('@'));
}

TEST_F(SdlPlatformTest, QuitBecomesCloseOfTheMainWindow)
{
    WindowHandle main = CreateMain(0, 0);
    Drain();
    ASSERT_TRUE(Support::PushQuit());
    std::vector<WindowMessage> closes = Only(Drain(), {WM_CLOSE});
    ASSERT_EQ(closes.size(), 1u);
    EXPECT_EQ(closes[0].hwnd, main);
}

TEST_F(SdlPlatformTest, ClipboardConvertsBetweenWindows1252AndUtf8)
{
    ASSERT_TRUE(mPlatform->GetClipboard().SetText("caf\xE9"));
    EXPECT_EQ(Support::ReadClipboardUtf8(), "caf\xC3\xA9");
    ASSERT_TRUE(Support::WriteClipboardUtf8("\xE2\x82\xAC"));
    EXPECT_EQ(mPlatform->GetClipboard().GetText(), "\x80");
    ASSERT_TRUE(Support::WriteClipboardUtf8("\xC0\xAFok\xF0\x9F\x98\x80"));
    EXPECT_EQ(mPlatform->GetClipboard().GetText(), "?ok?");
}

TEST_F(SdlPlatformTest, CursorsAndBoxesWithoutADisplay)
{
    CursorService& cursors = mPlatform->GetCursors();
    std::vector<uint8_t> andMask(128, 0xFF), xorMask(128, 0);
    CursorHandle hand = cursors.CreateCursor(11, 4, 32, 32, andMask.data(), xorMask.data());
    ASSERT_NE(hand, nullptr);
    cursors.SetCursor(cursors.LoadSystemCursor(IDC_WAIT));
    cursors.SetCursor(hand);
    cursors.SetCursor(nullptr);
    EXPECT_TRUE(cursors.DestroyCursor(hand));

    // No display can show a box here: the answer is 0 and the text goes to standard error.
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    testing::internal::CaptureStderr();
    int result = mPlatform->GetDialogs().MessageBoxA(nullptr, "caf\xE9", "Caption", MB_OK | MB_ICONERROR);
    std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_EQ(result, 0);
    EXPECT_NE(printed.find("Caption: caf\xC3\xA9"), std::string::npos);

    ASSERT_NE(std::freopen("/dev/null", "r", stdin), nullptr);
    EXPECT_EQ(mPlatform->GetDialogs().PromptText(nullptr, "Jump To Time", "1:00"), std::nullopt);
}

TEST(SdlSingleInstance, SecondPlatformHandsOverToTheFirstAndTheNameIsFreedAfterward)
{
    auto first = MakeSdlPlatform();
    ASSERT_NE(first, nullptr);
    WindowSystem& windows = first->GetWindows();
    windows.RegisterWindowClass({"MainWindow", CS_DBLCLKS, QuietProc, 0});
    WindowHandle main = windows.CreateWindow("MainWindow", L"", WS_POPUP, 0, 0, 0, 64, 64);
    std::string mutexName = TestProduct() + "Mutex";
    uint32_t notify = first->GetSingleInstance().RegisterWindowMessage("Notify" + TestProduct());
    EXPECT_FALSE(first->GetSingleInstance().CreateMutex(mutexName).alreadyExisted);
    {
        auto second = MakeSdlPlatform();
        ASSERT_NE(second, nullptr);
        SingleInstance& instance = second->GetSingleInstance();
        EXPECT_TRUE(instance.CreateMutex(mutexName).alreadyExisted);
        EXPECT_TRUE(instance.BroadcastMessage(instance.RegisterWindowMessage("Notify" + TestProduct())));
    }
    std::vector<WindowMessage> notified;
    WindowMessage record;
    while (windows.PeekMessage(record)) {
        if (record.message == notify)
            notified.push_back(record);
    }
    ASSERT_EQ(notified.size(), 1u);
    EXPECT_EQ(notified[0].hwnd, main);
    EXPECT_EQ(notified[0].wParam, 0u);
    first.reset();
    auto next = MakeSdlPlatform();
    ASSERT_NE(next, nullptr);
    EXPECT_FALSE(next->GetSingleInstance().CreateMutex(mutexName).alreadyExisted);
}

} // namespace
