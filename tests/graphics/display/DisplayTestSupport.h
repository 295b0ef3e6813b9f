// Shared set-up of the display tests: a headless platform with a 1920 x 1080
// desktop and a 1024 x 768 window whose client area starts at (448, 156), the
// DirectDraw stand-in reset around each test, and an application stand-in
// that is both the image host and the display host.
#pragma once

#include "graphics/display/DDImage.h"
#include "graphics/display/DDInterface.h"
#include "graphics/display/FakeDisplayHost.h"
#include "graphics/image/MemoryImage.h"
#include "platform/ddraw/DDrawConstants.h"
#include "platform/ddraw/DDrawRuntime.h"
#include "platform/headless/HeadlessPlatform.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace DisplayTest {

class DisplayFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A display for the application stand-in, in place of the one before; the fixture deletes it.
    Tandry::DDInterface& MakeDisplay();
    // No display, and the DirectDraw stand-in back to its start.
    void Restart();
    int InitWindowed() { return mDisplay->Init(mWindow, true); }
    // The application's full-screen window covers the display from its corner.
    int InitFullScreen();
    void SetDesktopFormat(Platform::DDrawFormat format);
    void SetSettings(const Platform::DDrawSettings& settings) { Platform::DDrawRuntime::Get().SetSettings(settings); }
    Platform::DDrawSettings Settings() { return Platform::DDrawRuntime::Get().GetSettings(); }
    void Inject(const Platform::DDrawFault& fault) { Platform::DDrawRuntime::Get().InjectFailure(fault); }
    uint32_t Live(Platform::DDrawObjectKind kind) { return Platform::DDrawRuntime::Get().LiveCount(kind); }
    std::vector<Platform::DDrawCall> CallLog() { return Platform::DDrawRuntime::Get().GetCallLog(); }
    std::string DebugText() { return mPlatform->Debug().GetAll(); }

    // What the window shows.
    Platform::HeadlessPresenter& Presenter() { return mPlatform->Presenter(); }

    Platform::HeadlessPlatform* mPlatform = nullptr;
    Platform::HWND mWindow = nullptr;
    DisplayTest::FakeDisplayHost mHost;
    Tandry::DDInterface* mDisplay = nullptr;
};

// The calls of one operation in a call log.
std::vector<Platform::DDrawCall> CallsOf(const std::vector<Platform::DDrawCall>& log, Platform::DDrawOp op);
// The whole surface as 0xAARRGGBB words by the read-back rule.
std::vector<uint32_t> ReadSurface(Platform::IDirectDrawSurface* surface);
// The stored words of a 16- or 32-bit surface, row after row.
std::vector<uint32_t> StoredWords(Platform::IDirectDrawSurface* surface);
// A memory image of the given pixels.
std::unique_ptr<Tandry::MemoryImage> MakeImage(int width, int height, const std::vector<uint32_t>& pixels);

} // namespace DisplayTest
