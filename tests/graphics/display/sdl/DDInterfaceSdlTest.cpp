// The display on the SDL back end under the dummy video driver with the
// software renderer: a frame drawn through the drawing context, with the
// software cursor, reaches the window, read back from the renderer. SDL
// widens a full 5- or 6-bit channel to 0xF8 or 0xFC, so channels compare
// within 7.
#include "graphics/display/DDInterface.h"

#include "graphics/display/FakeDisplayHost.h"
#include "graphics/display/FrameScene.h"
#include "platform/ddraw/DDrawRuntime.h"
#include "platform/sdl/SdlDesktop.h"
#include "platform/sdl/SdlPresenter.h"

#include <gtest/gtest.h>

namespace {

using namespace Platform;

bool SameColour(uint32_t a, uint32_t b)
{
    for (int shift = 0; shift < 32; shift += 8) {
        const int ca = static_cast<int>((a >> shift) & 0xFF);
        const int cb = static_cast<int>((b >> shift) & 0xFF);
        if (ca - cb > 7 || cb - ca > 7)
            return false;
    }
    return true;
}

class DDInterfaceSdl : public SdlDesktop::Fixture {
protected:
    void SetUp() override
    {
        SdlDesktop::Fixture::SetUp();
        DDrawRuntime::Get().Reset();
        Tandry::SetImageHost(&mHost);
    }
    void TearDown() override
    {
        delete mHost.display;
        mHost.display = nullptr;
        Tandry::SetImageHost(nullptr);
        DDrawRuntime::Get().Reset();
        SdlDesktop::Fixture::TearDown();
    }

    DisplayTest::FakeDisplayHost mHost;
};

TEST_F(DDInterfaceSdl, FramesDrawnThroughGraphicsReachTheWindow)
{
    for (const DisplayTest::FrameCase& c : DisplayTest::kFrameCases) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(c.desktop) << (c.windowed ? " windowed" : " full"));
        DDrawSettings settings;
        settings.desktopFormat = c.desktop;
        DDrawRuntime::Get().SetSettings(settings);
        mHost.settings.fullScreenBits = c.FullScreenBits();
        // The dummy desktop is 1024 x 768, and so is the client area.
        const HWND window = CreateMain(0, 0, 1024, 768);
        delete mHost.display;
        mHost.display = new Tandry::DDInterface();
        ASSERT_EQ(mHost.display->Init(window, c.windowed), 0) << mHost.display->mErrorText;

        DisplayTest::FrameScene scene;
        scene.Draw(*mHost.display);
        ASSERT_TRUE(mHost.display->Redraw(nullptr));

        int32_t width = 0;
        int32_t height = 0;
        const std::vector<uint32_t> shown =
            static_cast<SdlPresenter&>(mPlatform->GetPresenter()).ReadWindowPixels(window, width, height);
        ASSERT_EQ(width, 1024);
        ASSERT_EQ(height, 768);
        const std::vector<uint32_t> expected = scene.Expected();
        for (size_t i = 0; i < expected.size(); ++i)
            ASSERT_PRED2(SameColour, shown[i], expected[i]) << i % 1024 << "," << i / 1024;

        mHost.display->SetCursorImage(nullptr);
        delete mHost.display;
        mHost.display = nullptr;
        mWindows->DestroyWindow(window);
    }
}

} // namespace
