// A game test on the real application: the headless test platform and the
// test application, initialised, whose widget manager runs the shell's
// widgets through the loop's own steps. Time passes as the loop sleeps on the
// headless clock; clicks are injected into the platform's input.
#pragma once

#include "app/AppTestSupport.h"
#include "game/shell/GlobalResources.h"
#include "game/shell/ProcessList.h"
#include "platform/window/InputEvent.h"
#include "widgets/WidgetManager.h"

#include <gtest/gtest.h>

#include <memory>

namespace ShellTest {

// Runs loop steps of the application until one more update pass has run and
// the step after it, which deletes what the pass handed over, has ended.
inline void RunUpdatePass(Tandry::TandryAppBase& app)
{
    const int target = app.mUpdateCount + 1;
    for (int step = 0; step < 100000; ++step) {
        app.RunUpdateStep(nullptr);
        if (app.mUpdateCount >= target) {
            ASSERT_EQ(app.mUpdateCount, target);
            // The step after an update pass ends the cycle.
            app.RunUpdateStep(nullptr);
            return;
        }
    }
    FAIL() << "no update pass ran";
}

class ShellAppFixture : public AppTest::AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        Tandry::ResetGlobalResources();
        app = std::make_unique<AppTest::TestApp>();
        app->Init();
    }
    void TearDown() override
    {
        app->mWidgetManager->RemoveAllWidgets(false, true);
        app.reset();
        Tandry::FreeAllProcesses();
        Tandry::ResetGlobalResources();
        AppFixture::TearDown();
    }

    // Runs loop steps until one more update pass has run and the step after
    // it, which deletes what the pass handed over, has ended. Input injected
    // before is taken in first.
    void RunUpdate() { RunUpdatePass(*app); }

    // A press and release of the button at a point of the screen.
    void Click(int x, int y, Platform::MouseButton button = Platform::MouseButton::Left)
    {
        Platform::InputEvent event;
        event.kind = Platform::InputEventKind::MouseButtonDown;
        event.x = x;
        event.y = y;
        event.button = button;
        platform->Windows().Inject(event);
        event.kind = Platform::InputEventKind::MouseButtonUp;
        platform->Windows().Inject(event);
    }

    Tandry::WidgetManager& Manager() { return *app->mWidgetManager; }

    std::unique_ptr<AppTest::TestApp> app;
};

} // namespace ShellTest
