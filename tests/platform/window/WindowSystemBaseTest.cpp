#include "platform/window/WindowSystemBase.h"

#include "platform/window/WindowTestSupport.h"

#include <gtest/gtest.h>

using namespace Platform;
using namespace WindowTestSupport;

namespace {

std::vector<uint32_t> Messages(const std::vector<WindowMessage>& records)
{
    std::vector<uint32_t> numbers;
    for (const WindowMessage& record : records)
        numbers.push_back(record.message);
    return numbers;
}

TEST(WindowSystemBase, TimerCoalescesMissedPeriodsIntoOneRecord)
{
    Desktop desktop;
    desktop.CreateMain();
    ASSERT_TRUE(desktop.windows.SetTimer(desktop.main, 100, 10));
    desktop.platform.Clock().Advance(35);
    std::vector<WindowMessage> records = desktop.Drain();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].message, WM_TIMER);
    EXPECT_EQ(records[0].wParam, 100u);
    EXPECT_EQ(records[0].hwnd, desktop.main);
    // The next one comes a full period after the one just made, not after the missed ones.
    desktop.platform.Clock().Advance(9);
    EXPECT_TRUE(desktop.Drain().empty());
    desktop.platform.Clock().Advance(1);
    EXPECT_EQ(desktop.Drain().size(), 1u);
}

TEST(WindowSystemBase, TimerWaitsWhileOtherRecordsAreQueued)
{
    Desktop desktop;
    desktop.CreateMain();
    desktop.windows.SetTimer(desktop.main, 100, 10);
    desktop.platform.Clock().Advance(20);
    desktop.windows.PostMessage(desktop.main, WM_KEYDOWN, 'A', 1);
    desktop.windows.PostMessage(desktop.main, WM_KEYUP, 'A', 1);
    EXPECT_EQ(Messages(desktop.Drain()), (std::vector<uint32_t>{WM_KEYDOWN, WM_KEYUP, WM_TIMER}));
}

TEST(WindowSystemBase, DestroyingAWindowEndsItsTimersAndDropsItsRecords)
{
    Desktop desktop;
    desktop.CreateMain();
    WindowHandle other = desktop.windows.CreateWindow("InvisWindow", L"", 0, 0, 0, 0, 0, 0);
    desktop.windows.SetTimer(desktop.main, 100, 10);
    desktop.windows.PostMessage(desktop.main, WM_KEYDOWN, 0, 0);
    desktop.windows.PostMessage(other, WM_CLOSE, 0, 0);
    ASSERT_TRUE(desktop.windows.DestroyWindow(desktop.main));
    desktop.platform.Clock().Advance(50);
    std::vector<WindowMessage> records = desktop.Drain();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].hwnd, other);
    EXPECT_FALSE(desktop.windows.SetTimer(desktop.main, 100, 10));
}

TEST(WindowSystemBase, CreateAndDestroySendTheirMessages)
{
    Desktop desktop;
    WindowHandle window = desktop.windows.CreateWindow("InvisWindow", L"Moorglen", 0, 0, 0, 0, 0, 0);
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(Sent().size(), 1u);
    EXPECT_EQ(Sent()[0].message, WM_CREATE);
    desktop.windows.SetWindowUserData(window, &desktop);
    EXPECT_EQ(desktop.windows.GetWindowUserData(window), &desktop);
    EXPECT_TRUE(desktop.windows.DestroyWindow(window));
    EXPECT_EQ(Sent().back().message, WM_DESTROY);
    EXPECT_FALSE(desktop.windows.DestroyWindow(window));
    EXPECT_EQ(desktop.windows.GetWindowUserData(window), nullptr);
    EXPECT_EQ(desktop.windows.CreateWindow("NoSuchClass", L"", 0, 0, 0, 0, 0, 0), nullptr);
}

TEST(WindowSystemBase, DefaultProcessingClosesOnSystemCloseAndAnswersZeroOtherwise)
{
    Desktop desktop;
    desktop.CreateMain();
    EXPECT_EQ(desktop.windows.DefWindowProc(desktop.main, WM_SYSCOMMAND, SC_CLOSE | 0x2, 0), 0);
    EXPECT_EQ(desktop.windows.DefWindowProc(desktop.main, WM_SYSKEYDOWN, 'X', 0), 0);
    EXPECT_EQ(desktop.windows.DefWindowProc(desktop.main, WM_SETCURSOR, 0, 0), 0);
    std::vector<WindowMessage> records = desktop.Drain();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].message, WM_CLOSE);
    EXPECT_TRUE(desktop.windows.IsWindow(desktop.main));
}

TEST(WindowSystemBase, OuterRectangleOfA1024By768ClientAreaAndItsConversions)
{
    Desktop desktop;
    WinRect rect{0, 0, 1024, 768};
    desktop.windows.AdjustWindowRect(rect, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
    EXPECT_EQ(rect.Width(), 1030);
    EXPECT_EQ(rect.Height(), 797);
    WinRect popup{0, 0, 1024, 768};
    desktop.windows.AdjustWindowRect(popup, WS_POPUP | WS_VISIBLE);
    EXPECT_EQ(popup, (WinRect{0, 0, 1024, 768}));

    desktop.CreateMain();
    WinRect client;
    ASSERT_TRUE(desktop.windows.GetClientRect(desktop.main, client));
    EXPECT_EQ(client, (WinRect{0, 0, 1024, 768}));
    WinPoint point{0, 0};
    desktop.windows.ClientToScreen(desktop.main, point);
    EXPECT_EQ(point, (WinPoint{103, 76}));
    desktop.windows.ScreenToClient(desktop.main, point);
    EXPECT_EQ(point, (WinPoint{0, 0}));
    EXPECT_EQ(desktop.windows.WindowFromPoint({100, 50}), desktop.main);
    EXPECT_EQ(desktop.windows.WindowFromPoint({99, 50}), nullptr);
}

TEST(WindowSystemBase, PlacementReportsShowStateAndNormalPosition)
{
    Desktop desktop;
    desktop.CreateMain();
    ASSERT_TRUE(desktop.windows.MoveWindow(desktop.main, 125, 86, 1030, 797));
    WindowPlacement placement;
    ASSERT_TRUE(desktop.windows.GetWindowPlacement(desktop.main, placement));
    EXPECT_EQ(placement.showCmd, SW_SHOWNORMAL);
    EXPECT_EQ(placement.normalPosition, (WinRect{125, 86, 1155, 883}));

    desktop.Inject(Window(InputEventKind::Minimized));
    EXPECT_TRUE(desktop.windows.IsIconic(desktop.main));
    desktop.windows.GetWindowPlacement(desktop.main, placement);
    EXPECT_EQ(placement.showCmd, SW_SHOWMINIMIZED);
    EXPECT_EQ(placement.normalPosition, (WinRect{125, 86, 1155, 883}));
}

TEST(WindowSystemBase, TitleIsKeptUntilChangedAndUnknownWindowsAreRefused)
{
    Desktop desktop;
    desktop.CreateMain();
    const std::wstring created = desktop.windows.GetWindowTitle(desktop.main);
    ASSERT_TRUE(desktop.windows.SetWindowTitle(desktop.main, L"Mo\u00f6rglen: \u263c"));
    EXPECT_EQ(desktop.windows.GetWindowTitle(desktop.main), L"Mo\u00f6rglen: \u263c");
    EXPECT_NE(created, desktop.windows.GetWindowTitle(desktop.main));

    Platform::WindowHandle gone = desktop.windows.CreateWindow("InvisWindow", L"x", 0, 0, 0, 0, 0, 0);
    desktop.windows.DestroyWindow(gone);
    EXPECT_FALSE(desktop.windows.SetWindowTitle(gone, L"y"));
    EXPECT_EQ(desktop.windows.GetWindowTitle(gone), L"");
}

TEST(WindowSystemBase, SystemMetricsOfTheDesktop)
{
    Desktop desktop;
    desktop.windows.SetScreenSize(1280, 1024);
    desktop.windows.SetWorkArea({0, 0, 1280, 994});
    EXPECT_EQ(desktop.windows.GetSystemMetrics(SM_CXSCREEN), 1280);
    EXPECT_EQ(desktop.windows.GetSystemMetrics(SM_CYSCREEN), 1024);
    EXPECT_EQ(desktop.windows.GetSystemMetrics(SM_CXFULLSCREEN), 1280);
    EXPECT_EQ(desktop.windows.GetSystemMetrics(SM_CYFULLSCREEN), 994 - 23);
    EXPECT_EQ(desktop.windows.GetSystemMetrics(SM_TABLETPC), 0);
    EXPECT_EQ(desktop.windows.GetWorkArea(), (WinRect{0, 0, 1280, 994}));
}

TEST(WindowSystemBase, CaptureIsKeptAndRecorded)
{
    Desktop desktop;
    desktop.CreateMain();
    desktop.windows.SetCapture(desktop.main);
    EXPECT_EQ(desktop.windows.GetCapture(), desktop.main);
    desktop.windows.ReleaseCapture();
    EXPECT_EQ(desktop.windows.GetCapture(), nullptr);
    EXPECT_EQ(desktop.windows.GetCaptureCalls(), (std::vector<WindowHandle>{desktop.main, nullptr}));
}

TEST(WindowSystemBase, ShowingActivatesOnceAndHidingDeactivates)
{
    Desktop desktop;
    WinRect outer{0, 0, 640, 480};
    WindowHandle window = desktop.windows.CreateWindow("MainWindow", L"Moorglen", WS_POPUP | WS_CAPTION, 0, 10, 10,
                                                       outer.Width(), outer.Height());
    EXPECT_EQ(desktop.windows.GetActiveWindow(), nullptr);
    desktop.windows.ShowWindow(window, SW_SHOW);
    desktop.windows.ShowWindow(window, SW_SHOW);
    EXPECT_EQ(desktop.windows.GetActiveWindow(), window);
    std::vector<WindowMessage> records = desktop.Drain();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].message, WM_ACTIVATEAPP);
    EXPECT_EQ(records[0].wParam, 1u);

    desktop.windows.ShowWindow(window, SW_HIDE);
    EXPECT_EQ(desktop.windows.GetActiveWindow(), nullptr);
    records = desktop.Drain();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].wParam, 0u);

    desktop.windows.ShowWindow(window, SW_SHOWNOACTIVATE);
    EXPECT_EQ(desktop.windows.GetActiveWindow(), nullptr);
    EXPECT_TRUE(desktop.Drain().empty());
}

TEST(WindowSystemBase, RestoringAMinimisedWindowReportsTheRestoredSize)
{
    Desktop desktop;
    desktop.CreateMain();
    desktop.Inject(Window(InputEventKind::Minimized));
    desktop.windows.SetActiveWindowForTest(nullptr);
    desktop.Drain();
    desktop.windows.ShowWindow(desktop.main, SW_RESTORE);
    EXPECT_FALSE(desktop.windows.IsIconic(desktop.main));
    std::vector<WindowMessage> records = desktop.Drain();
    ASSERT_EQ(Messages(records), (std::vector<uint32_t>{WM_SIZE, WM_ACTIVATEAPP}));
    EXPECT_EQ(records[0].wParam, SIZE_RESTORED);
    EXPECT_EQ(records[1].wParam, 1u);
}

TEST(WindowSystemBase, RecordsCarryTimeAndCursorPosition)
{
    Desktop desktop;
    desktop.CreateMain();
    desktop.Inject(Motion(4, 5));
    desktop.platform.Clock().Advance(7);
    desktop.windows.PostMessage(desktop.main, WM_CLOSE, 0, 0);
    std::vector<WindowMessage> records = desktop.Drain();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[1].time, records[0].time + 7);
    EXPECT_EQ(records[1].pt, (WinPoint{107, 81}));
    WinPoint cursor;
    desktop.windows.GetCursorPos(cursor);
    EXPECT_EQ(cursor, (WinPoint{107, 81}));
}

} // namespace
