// A game test that draws as the game does: the test application started on
// the headless platform with the DirectDraw display, whose widget manager
// draws onto the display's screen surface. Pictures read by the
// application's loader are surface images of that display.
#pragma once

#include "app/DisplayAppFixture.h"
#include "graphics/display/DDImage.h"
#include "widgets/WidgetManager.h"

#include <gtest/gtest.h>

#include <memory>

namespace ShellTest {

class ShellScreenFixture : public AppTest::DisplayAppFixture {
protected:
    void SetUp() override
    {
        DisplayAppFixture::SetUp();
        app = std::make_unique<AppTest::TestApp>();
        app->makeDisplay = true;
        app->Init();
        ASSERT_NE(app->mDDInterface, nullptr);
        // The test application brings the display up without the display
        // set-up, which would hand the manager the screen image.
        app->mWidgetManager->drawImage = app->mDDInterface->mScreenImage;
    }
    void TearDown() override
    {
        app.reset();
        DisplayAppFixture::TearDown();
    }

    std::unique_ptr<AppTest::TestApp> app;
};

} // namespace ShellTest
