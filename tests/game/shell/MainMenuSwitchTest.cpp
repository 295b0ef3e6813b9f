// Play on the game's own application object: the board a maker returns is
// sized to the screen and becomes the current board through the switch.
#include "game/shell/MainMenu.h"

#include "game/shell/GameAppFixture.h"
#include "game/shell/GameControllerCommon.h"
#include "game/shell/ProfileManager.h"

#include <gtest/gtest.h>

namespace {

class MainMenuSwitchTest : public ShellTest::GameAppFixture {
protected:
    void TearDown() override
    {
        Tandry::ShutdownProfileManager();
        GameAppFixture::TearDown();
    }
};

TEST_F(MainMenuSwitchTest, TheEndMovieBecomesTheCurrentBoardAtTheScreensSize)
{
    Tandry::GetGameControllerCommon().GetPlayerInfo().gameComplete = true;
    ShellTest::FakeBoard* made = nullptr;
    std::string request = "unset";
    Tandry::GetBoardRegistry().movie = [&](const std::string& name, const std::string& text) {
        request = text;
        made = new ShellTest::FakeBoard(name, calls);
        return made;
    };

    Tandry::MainMenu menu(false);
    menu.Play();

    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->name, "final");
    EXPECT_EQ(request, "");
    EXPECT_EQ(app->mCurrentBoard, made);
    EXPECT_EQ(made->GetRect(), Tandry::Rect(0, 0, app->mWidth, app->mHeight));
}

} // namespace
