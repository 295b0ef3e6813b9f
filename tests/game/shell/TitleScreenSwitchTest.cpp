// The title screen as the game starts it: made by the registered maker,
// switched to by the game object, and handing over to the main menu through
// the same switch, also when it has no page and hands over while it is
// being added.
#include "GameAppFixture.h"
#include "game/shell/ProfileManager.h"
#include "game/shell/RegisterBoards.h"
#include "game/shell/ShowBoards.h"
#include "game/shell/TitleScreen.h"
#include "platform/fs/ScratchFolder.h"
#include "resources/images/ImageWriters.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using ShellTest::FakeBoard;

class TitleScreenSwitchTest : public ShellTest::GameAppFixture {
protected:
    void SetUp() override
    {
        GameAppFixture::SetUp();
        Tandry::RegisterBoards();
        Tandry::GetBoardRegistry().mainMenu = [this](bool) {
            ++menus;
            return new FakeBoard("menu", calls);
        };
    }
    void TearDown() override
    {
        Tandry::ShutdownProfileManager();
        Tandry::ResetGameFolders();
        GameAppFixture::TearDown();
    }

    bool MenuIsCurrent()
    {
        auto* board = dynamic_cast<FakeBoard*>(app->mCurrentBoard);
        return board != nullptr && board->name == "menu";
    }

    int menus = 0;
};

TEST_F(TitleScreenSwitchTest, AScreenWithoutPagesGivesWayToTheMenuAtOnce)
{
    Tandry::ShowTitleScreen(app.get());
    ASSERT_TRUE(RunUpdatesUntil([this] { return MenuIsCurrent(); }, 20));
    EXPECT_EQ(menus, 1);
    for (int i = 0; i < 10; ++i)
        RunUpdate();
    EXPECT_EQ(menus, 1);
    EXPECT_TRUE(MenuIsCurrent());
}

TEST_F(TitleScreenSwitchTest, TheLogosRunOnTheGameLoopBeforeTheMenu)
{
    std::filesystem::create_directories(ProgramFolder() + "/logo");
    const std::vector<uint32_t> pixels(16, 0xFFFF0000u);
    ASSERT_TRUE(Tandry::SavePngToFile(ProgramFolder() + "/logo/a.png", {4, 4, pixels.data()}));
    TestSupport::WriteFile(ProgramFolder() + "/logo/logo.ini",
                           "[Game]\nFadeTime=0.1\nLogoList=logo\\a:0:0.2\n");
    Tandry::ShowTitleScreen(app.get());
    RunUpdate();
    auto* screen = dynamic_cast<Tandry::TitleScreen*>(app->mCurrentBoard);
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->pages.size(), 1u);
    EXPECT_EQ(screen->GetMusicKey(), "Menu");
    EXPECT_EQ(screen->GetName(), "");
    EXPECT_EQ(menus, 0);
    ASSERT_TRUE(RunUpdatesUntil([this] { return MenuIsCurrent(); }, 2000));
    EXPECT_EQ(menus, 1);
}

} // namespace
