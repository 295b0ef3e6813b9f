// The SDL window service's desktop full screen: the window covers the screen,
// its client size stays, and the mouse comes back in client coordinates.
// (SdlWindowSystem.h includes SDL, which no test does; the platform hands the
// service out as the WindowSystem interface.)
#include "platform/sdl/SdlDesktop.h"

namespace {

using namespace Platform;
namespace Support = Platform::SdlTestSupport;

class SdlWindowSystemTest : public SdlDesktop::Fixture {};

TEST_F(SdlWindowSystemTest, DesktopFullScreenMapsTheMouseBackToTheClientArea)
{
    // 640 x 480 on the dummy 1024 x 768 screen: scaled by 1.6, no bars.
    WindowHandle window = CreateMain(0, 0, 640, 480);
    mWindows->SetDesktopFullScreen(window, true);
    EXPECT_TRUE(mWindows->IsDesktopFullScreen(window));
    WinRect client;
    ASSERT_TRUE(mWindows->GetClientRect(window, client));
    EXPECT_EQ(client, (WinRect{0, 0, 640, 480}));
    Drain();
    ASSERT_TRUE(Support::PushMouseMotion(window, 800, 400));
    ASSERT_TRUE(Support::PushMouseButton(window, 1, true, 1, 1023, 767));
    std::vector<WindowMessage> moves;
    for (const WindowMessage& record : Drain())
        if (record.message == WM_MOUSEMOVE || record.message == WM_LBUTTONDOWN)
            moves.push_back(record);
    ASSERT_EQ(moves.size(), 2u);
    EXPECT_EQ(moves[0].lParam, MakeLParam(500, 250));
    EXPECT_EQ(moves[1].lParam, MakeLParam(639, 479));

    mWindows->SetDesktopFullScreen(window, false);
    EXPECT_FALSE(mWindows->IsDesktopFullScreen(window));
    ASSERT_TRUE(Support::PushMouseMotion(window, 300, 200));
    bool seen = false;
    for (const WindowMessage& record : Drain())
        if (record.message == WM_MOUSEMOVE) {
            EXPECT_EQ(record.lParam, MakeLParam(300, 200));
            seen = true;
        }
    EXPECT_TRUE(seen);
}

} // namespace
