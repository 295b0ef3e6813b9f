// Shared set-up of the SDL presenter and window tests: an SDL platform on the
// dummy video driver with the software renderer, installed as the platform,
// with the "MainWindow" class and a window of a given client size.
#pragma once

#include "platform/Platform.h"
#include "platform/sdl/SdlPlatform.h"
#include "platform/sdl/SdlTestSupport.h"
#include "platform/window/WindowMessages.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

namespace SdlDesktop {

inline intptr_t QuietProc(Platform::WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    return Platform::GetPlatform().GetWindows().DefWindowProc(window, message, wParam, lParam);
}

class Fixture : public testing::Test {
protected:
    void SetUp() override
    {
        Platform::SdlTestSupport::UseDummyDrivers();
        setenv("SDL_RENDER_DRIVER", "software", 1);
        // Unique per process, so parallel test processes never share a mutex or a socket.
        auto platform = Platform::kSdlBootstrap.create({"Hollowmere", "MoorglenTest" + std::to_string(getpid()), {}});
        ASSERT_NE(platform, nullptr);
        mPlatform = platform.get();
        Platform::InstallPlatform(std::move(platform));
        mWindows = &mPlatform->GetWindows();
        mWindows->RegisterWindowClass({"MainWindow", Platform::CS_DBLCLKS, QuietProc, 0});
    }
    void TearDown() override { Platform::ResetPlatform(); }

    // A shown window whose client area has the size and lies at the origin given.
    Platform::WindowHandle CreateMain(int32_t x, int32_t y, int32_t width, int32_t height)
    {
        using namespace Platform;
        WinRect outer{0, 0, width, height};
        mWindows->AdjustWindowRect(outer, WS_POPUP | WS_CAPTION | WS_SYSMENU);
        WindowHandle window = mWindows->CreateWindow("MainWindow", L"Moorglen", WS_POPUP | WS_CAPTION | WS_SYSMENU,
                                                     0, x + outer.left, y + outer.top, outer.Width(), outer.Height());
        mWindows->ShowWindow(window, SW_SHOW);
        Drain();
        return window;
    }

    std::vector<Platform::WindowMessage> Drain()
    {
        std::vector<Platform::WindowMessage> records;
        Platform::WindowMessage record;
        while (mWindows->PeekMessage(record))
            records.push_back(record);
        return records;
    }

    Platform::ServiceBundle* mPlatform = nullptr;
    Platform::WindowSystem* mWindows = nullptr;
};

} // namespace SdlDesktop
