// The application fixture for tests that start the DirectDraw display on the
// headless platform: a 1920 x 1080 desktop and the display stand-in and the
// display's globals fresh before each test and put back after it. The display
// and capability-test application tests build on it.
#pragma once

#include "AppTestSupport.h"
#include "graphics/display/D3DInterface.h"
#include "graphics/display/DDInterface.h"
#include "platform/ddraw/DDrawRuntime.h"

namespace AppTest {

class DisplayAppFixture : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        platform->Windows().SetScreenSize(1920, 1080);
        Platform::DDrawRuntime::Get().Reset();
        Tandry::ResetDisplayGlobals();
        Tandry::ResetD3DGlobals();
    }

    void TearDown() override
    {
        Platform::DDrawRuntime::Get().Reset();
        Tandry::ResetDisplayGlobals();
        Tandry::ResetD3DGlobals();
        AppFixture::TearDown();
    }
};

} // namespace AppTest
