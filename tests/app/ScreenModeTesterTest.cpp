#include "app/ScreenModeTester.h"

#include "AppTestSupport.h"
#include "app/TandryAppBase.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace AppTest;
using Tandry::BoundCall;
using Tandry::ScreenModeTester;

// The screen that learns about mode changes: it notes every flag it is told.
struct OptionsScreen {
    std::vector<bool> told;
    int answer = 7;

    int ModeChanged(bool windowed)
    {
        told.push_back(windowed);
        return answer;
    }
};

class ScreenModeTesterTest : public AppFixture {};

TEST_F(ScreenModeTesterTest, AnEmptyCallAnswersMinusOne)
{
    OptionsScreen screen;
    const BoundCall<int(bool)> calls[] = {
        BoundCall<int(bool)>(), BoundCall<int(bool)>(static_cast<OptionsScreen*>(nullptr), &OptionsScreen::ModeChanged),
        BoundCall<int(bool)>(&screen, static_cast<int (OptionsScreen::*)(bool)>(nullptr))};
    for (const BoundCall<int(bool)>& call : calls) {
        ScreenModeTester tester(call);
        EXPECT_EQ(tester.ScreenModeChanged(true), -1);
        EXPECT_EQ(tester.ScreenModeChanged(false), -1);
    }
    EXPECT_TRUE(screen.told.empty());
}

TEST_F(ScreenModeTesterTest, TheBoundCallGetsTheFlagAndItsAnswerIsReturned)
{
    OptionsScreen screen;
    ScreenModeTester tester(BoundCall<int(bool)>(&screen, &OptionsScreen::ModeChanged));
    EXPECT_EQ(tester.ScreenModeChanged(false), 7);
    screen.answer = -3;
    EXPECT_EQ(tester.ScreenModeChanged(true), -3);
    EXPECT_EQ(screen.told, (std::vector<bool>{false, true}));
}

TEST_F(ScreenModeTesterTest, IsAnInvisibleDialogThatNeverTakesTheMouse)
{
    ScreenModeTester tester{BoundCall<int(bool)>()};
    EXPECT_EQ(tester.id, 2423);
    EXPECT_FALSE(tester.isModal);
    EXPECT_FALSE(tester.IsModal());
    EXPECT_FALSE(tester.mouseVisible);
    EXPECT_EQ(tester.buttonMode, 0);
    EXPECT_TRUE(tester.dialogHeader.empty());
    EXPECT_TRUE(tester.dialogLines.empty());
    EXPECT_TRUE(tester.dialogFooter.empty());
}

// The game tells every registered dialog; each tester relays exactly once.
TEST_F(ScreenModeTesterTest, EveryRegisteredTesterRelaysEachModeChangeOnce)
{
    TestApp app;
    OptionsScreen first, second;
    app.AddDialog(2423, new ScreenModeTester(BoundCall<int(bool)>(&first, &OptionsScreen::ModeChanged)));
    app.AddDialog(2424, new ScreenModeTester(BoundCall<int(bool)>(&second, &OptionsScreen::ModeChanged)));
    for (bool windowed : {false, true}) {
        for (const auto& [id, dialog] : app.mDialogMap)
            dialog->ScreenModeChanged(windowed);
    }
    EXPECT_EQ(first.told, (std::vector<bool>{false, true}));
    EXPECT_EQ(second.told, (std::vector<bool>{false, true}));
}

} // namespace
