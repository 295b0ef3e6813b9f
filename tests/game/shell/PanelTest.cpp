// The in-game menu and the exit confirmation in the application's widget
// manager, over their backdrop, on small fixture layouts: how they are
// built, how they open and close, what their buttons and keys do, and what
// they draw.
#include "game/shell/ExitScreen.h"
#include "game/shell/InGameMenu.h"

#include "GameWidgetFixture.h"
#include "game/shell/DarkBack.h"
#include "game/shell/ScaleButton.h"
#include "tests/graphics/context/FakeFont.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <utility>

namespace {

using GameWidgetTest::LayoutPicture;
using GameWidgetTest::SolidPixels;
using Tandry::BoundCall;
using Tandry::DarkBack;
using Tandry::ExitScreen;
using Tandry::InGameMenu;
using Tandry::Rect;

int gPanelsDeleted = 0;
int gBacksDeleted = 0;
// Panels and backdrops not yet deleted, freed when a test ends with them open.
std::set<Tandry::Widget*> gLive;

class CountedBack : public DarkBack {
public:
    CountedBack() : DarkBack(nullptr, 0) { gLive.insert(this); }
    ~CountedBack() override
    {
        ++gBacksDeleted;
        gLive.erase(this);
    }
};

class CountedMenu : public InGameMenu {
public:
    template <class... Args>
    explicit CountedMenu(Args&&... args) : InGameMenu(std::forward<Args>(args)...)
    {
        gLive.insert(this);
    }
    ~CountedMenu() override
    {
        ++gPanelsDeleted;
        gLive.erase(this);
    }
};

class CountedExit : public ExitScreen {
public:
    explicit CountedExit(DarkBack* under) : ExitScreen(under) { gLive.insert(this); }
    ~CountedExit() override
    {
        ++gPanelsDeleted;
        gLive.erase(this);
    }
};

struct Calls {
    void Options() { ++options; }
    void MainMenu() { ++mainMenu; }
    int options = 0;
    int mainMenu = 0;
};

// The board the panels open on.
class Board : public Tandry::Widget {
public:
    void MouseDown(int, int, int, int) override { ++clicks; }
    int clicks = 0;
};

int ShutdownsRecorded()
{
    const auto& log = AppTest::Log();
    return static_cast<int>(std::count(log.begin(), log.end(), std::string("OnShutdownBegin")));
}

class PanelTest : public GameWidgetTest::GameWidgetFixture {
protected:
    void SetUp() override
    {
        GameWidgetFixture::SetUp();
        gPanelsDeleted = 0;
        gBacksDeleted = 0;
        board.Resize(0, 0, 1024, 768);
        Manager().AddWidget(&board);
        SetLangTexts(L"Interface", {{"Menu", L"Menu"},
                                    {"Resume", L"Go on"},
                                    {"Options", L"Setup"},
                                    {"MainMenu", L"Leave"},
                                    {"ExitConfirm", L"Quit now?"},
                                    {"Yes", L"Aye"},
                                    {"No", L"Nay"}});
    }
    void TearDown() override
    {
        Manager().RemoveAllWidgets(false, true);
        board.RemoveAllWidgets(false, true);
        const std::set<Tandry::Widget*> open = gLive;
        for (Tandry::Widget* widget : open)
            delete widget;
        GameWidgetFixture::TearDown();
    }

    // The menu's fixture layout: a 200 x 200 panel at (100, 50).
    void WriteMenuLayout()
    {
        const uint32_t plate = 0xFF806040u;
        menuLayout = WriteLayout("ingamemenu", {
            {"_back", 100, 50, 0, SolidPixels(200, 200, 0xFF202020u)},
            {"menu", 120, 60, 1, SolidPixels(160, 30, 0xFF404040u)},
            {"resume/resume_in", 150, 100, 2, SolidPixels(100, 20, plate)},
            {"resume/resume_ac", 150, 100, 3, SolidPixels(100, 20, plate)},
            {"options/options_in", 150, 140, 2, SolidPixels(100, 20, plate)},
            {"options/options_ac", 150, 140, 3, SolidPixels(100, 20, plate)},
            {"mainmenu/mainmenu_in", 150, 180, 2, SolidPixels(100, 20, plate)},
            {"mainmenu/mainmenu_ac", 150, 180, 3, SolidPixels(100, 20, plate)},
        });
    }

    // The exit fixture layout: a 300 x 150 panel at (200, 300).
    void WriteExitLayout()
    {
        const uint32_t plate = 0xFF806040u;
        exitLayout = WriteLayout("exit", {
            {"dark", 0, 0, 0, SolidPixels(1024, 768, 0xFFFF0000u)},
            {"back", 200, 300, 1, SolidPixels(300, 150, 0xFF202020u)},
            {"text", 220, 310, 2, SolidPixels(260, 60, 0xFF404040u)},
            {"buttons/yes/yes_in", 220, 400, 3, SolidPixels(100, 30, plate)},
            {"buttons/yes/yes_ac", 220, 400, 4, SolidPixels(100, 30, plate)},
            {"buttons/yes/yes_dn", 220, 402, 4, SolidPixels(100, 30, 0xFF00FF00u)},
            {"buttons/no/no_in", 380, 400, 3, SolidPixels(100, 30, plate)},
            {"buttons/no/no_ac", 380, 400, 4, SolidPixels(100, 30, plate)},
            {"buttons/no/no_dn", 380, 402, 4, SolidPixels(100, 30, 0xFF00FF00u)},
        });
    }

    // Backdrop, then panel, both at z-order 30, the backdrop's click closing
    // the panel: as the openers add them.
    template <class Panel>
    void Open(Panel* panel)
    {
        back->clickCall = BoundCall<void()>(static_cast<Tandry::PopInPanel*>(panel), &Tandry::PopInPanel::Close);
        back->zOrder = 30;
        panel->zOrder = 30;
        board.AddWidget(back);
        board.AddWidget(panel);
    }

    CountedMenu* OpenMenu(const BoundCall<void()>& options, const BoundCall<void()>& mainMenu)
    {
        back = new CountedBack();
        auto* menu = new CountedMenu(options, menuLayout.get(), mainMenu, back);
        Open(menu);
        return menu;
    }

    CountedExit* OpenExit()
    {
        back = new CountedBack();
        auto* panel = new CountedExit(back);
        Open(panel);
        return panel;
    }

    void RunUpdates(int count)
    {
        for (int i = 0; i < count; ++i)
            RunUpdate();
    }

    Board board;
    CountedBack* back = nullptr;
    std::unique_ptr<Tandry::GuiLayout> menuLayout;
    std::unique_ptr<Tandry::GuiLayout> exitLayout;
    Calls calls;
};

TEST_F(PanelTest, TheMenuTakesItsBackEntryAndMovesItsCloneIntoItsOwnCoordinates)
{
    WriteMenuLayout();
    CountedMenu* menu = OpenMenu({}, {});
    EXPECT_EQ(menu->GetRect(), Rect(100, 50, 200, 200));
    EXPECT_EQ(menu->titleRect, Rect(20, 10, 160, 30));
    EXPECT_EQ(menu->title, L"Menu");
    EXPECT_FALSE(menu->Layout()->FindEntry("menu")->drawFlag);
    EXPECT_TRUE(menu->Layout()->IsCopy());
    // The shared source stays where it was.
    EXPECT_EQ(menuLayout->FindEntry("_back")->x, 100);
    EXPECT_TRUE(menuLayout->FindEntry("menu")->drawFlag);

    const struct {
        int id;
        const wchar_t* label;
        Rect rect;
    } buttons[] = {
        {2, L"Go on", Rect(50, 50, 100, 20)},
        {1, L"Setup", Rect(50, 90, 100, 20)},
        {0, L"Leave", Rect(50, 130, 100, 20)},
    };
    ASSERT_EQ(menu->Buttons().size(), std::size(buttons));
    RunUpdates(34);
    ASSERT_EQ(menu->alpha, 1.0f);
    for (size_t i = 0; i < std::size(buttons); ++i) {
        const Tandry::ScaleButton* button = menu->Buttons()[i];
        EXPECT_EQ(button->id, buttons[i].id) << i;
        EXPECT_EQ(button->label, buttons[i].label) << i;
        EXPECT_EQ(button->GetRect(), buttons[i].rect) << i;
        EXPECT_EQ(button->scale, 1.0f) << i;
        EXPECT_EQ(button->tint, Tandry::Color(255, 255, 255, 255)) << i;
        EXPECT_EQ(button->parent, menu) << i;
    }
}

TEST_F(PanelTest, TheMenuOpensInThirtyFourUpdatesAndIsDeletedWithItsBackdropAfterClosing)
{
    WriteMenuLayout();
    CountedMenu* menu = OpenMenu({}, {});
    EXPECT_EQ(menu->Buttons()[0]->scale, 0.0f) << "built at the start of the pop-in";
    RunUpdates(33);
    EXPECT_LT(menu->alpha, 1.0f);
    RunUpdate();
    EXPECT_EQ(menu->alpha, 1.0f);

    menu->Close();
    EXPECT_EQ(back->target, 0.0f);
    EXPECT_TRUE(back->closing);
    RunUpdates(33);
    EXPECT_TRUE(board.HasWidget(menu));
    EXPECT_EQ(gPanelsDeleted, 0);
    RunUpdate();
    EXPECT_EQ(gPanelsDeleted, 1);
    EXPECT_EQ(gBacksDeleted, 1);
    EXPECT_TRUE(board.children.empty());
}

TEST_F(PanelTest, AClickOnTheBackdropClosesTheMenuAndTheBackdrop)
{
    WriteMenuLayout();
    OpenMenu({}, {});
    RunUpdates(34);
    InjectClick(20, 20);
    RunUpdates(35);
    EXPECT_EQ(gPanelsDeleted, 1);
    EXPECT_EQ(gBacksDeleted, 1);
    EXPECT_EQ(board.clicks, 0);
}

TEST_F(PanelTest, TheMenuButtonsCallTheBoardsCallsAndResumeCloses)
{
    WriteMenuLayout();
    CountedMenu* menu = OpenMenu({}, BoundCall<void()>(&calls, &Calls::MainMenu));
    RunUpdates(34);
    // Main menu at (150, 180) on the screen, options at (150, 140).
    InjectClick(200, 190);
    RunUpdate();
    EXPECT_EQ(calls.mainMenu, 1);
    InjectClick(200, 150);
    RunUpdate();
    EXPECT_EQ(calls.options, 0) << "an empty options call does nothing";
    EXPECT_EQ(menu->alphaTarget, 1.0f);

    menu->optionsCall = BoundCall<void()>(&calls, &Calls::Options);
    InjectClick(200, 150);
    RunUpdate();
    EXPECT_EQ(calls.options, 1);

    InjectClick(200, 110);
    RunUpdate();
    EXPECT_EQ(menu->alphaTarget, 0.0f);
    EXPECT_TRUE(back->closing);
}

TEST_F(PanelTest, TheMenuTitleIsCentredInItsRectangleInTheDarkTextColour)
{
    WriteMenuLayout();
    CountedMenu* menu = OpenMenu({}, {});
    Tandry::FakeFont font;
    Tandry::FONT_HEAD = &font;
    menu->alpha = 1.0f;
    Tandry::MemoryImage target;
    target.Create(300, 300);
    Tandry::Graphics g(&target);
    menu->Draw(&g);
    ASSERT_EQ(font.draws.size(), 1u);
    // "Menu" is 40 wide; ascent 8, descent 2.
    EXPECT_EQ(font.draws[0].text, L"Menu");
    EXPECT_EQ(font.draws[0].x, 20 + (160 - 40) / 2);
    EXPECT_EQ(font.draws[0].y, 10 + (30 + 8 - 2) / 2);
    EXPECT_EQ(font.draws[0].color, Tandry::Color(0x2B, 0x0E, 0x00, 255));
    EXPECT_FALSE(g.mColorizeImages && g.mColor == Tandry::Color(0x2B, 0x0E, 0x00, 255))
        << "the state is restored";
    Tandry::FONT_HEAD = nullptr;
}

TEST_F(PanelTest, ExitYesShutsDownOnPressEvenWhenDraggedOff)
{
    WriteExitLayout();
    OpenExit();
    RunUpdates(34);
    const int before = ShutdownsRecorded();
    // Yes at (220, 400) on the screen; the press alone counts.
    Manager().MouseMove(270, 415);
    Manager().MouseDown(270, 415, 1);
    EXPECT_EQ(ShutdownsRecorded(), before + 1);
    Manager().MouseDrag(10, 10);
    Manager().MouseUp(10, 10, 1);
    EXPECT_EQ(ShutdownsRecorded(), before + 1);
}

TEST_F(PanelTest, EscapeInTheExitScreenShutsDownAsYesDoes)
{
    WriteExitLayout();
    CountedExit* panel = OpenExit();
    EXPECT_EQ(Manager().focusWidget, panel) << "the panel takes the keyboard";
    const int before = ShutdownsRecorded();
    Manager().KeyDown(27);
    EXPECT_EQ(ShutdownsRecorded(), before + 1);
}

TEST_F(PanelTest, ExitNoClosesThePanelAndTheFocusGoesBackToTheBoard)
{
    WriteExitLayout();
    CountedExit* panel = OpenExit();
    RunUpdates(34);
    const int before = ShutdownsRecorded();
    InjectClick(430, 415);
    RunUpdate();
    EXPECT_EQ(panel->alphaTarget, 0.0f);
    RunUpdates(34);
    EXPECT_EQ(gPanelsDeleted, 1);
    EXPECT_EQ(gBacksDeleted, 1);
    EXPECT_EQ(ShutdownsRecorded(), before);
    EXPECT_EQ(Manager().focusWidget, &board);
}

TEST_F(PanelTest, TheExitScreenHidesItsDarkAndPressedPictures)
{
    WriteExitLayout();
    CountedExit* panel = OpenExit();
    EXPECT_EQ(panel->GetRect(), Rect(200, 300, 300, 150));
    EXPECT_EQ(panel->textRect, Rect(20, 10, 260, 60));
    EXPECT_EQ(panel->text, L"Quit now?");
    for (const char* name : {"dark", "text", "buttons/yes/yes_dn", "buttons/no/no_dn"})
        EXPECT_FALSE(panel->Layout()->FindEntry(name)->drawFlag) << name;
    RunUpdates(34);
    DrawScreen(0xFF000000u);
    // Outside the panel nothing red from "dark"; below the plates nothing
    // green from the pressed pictures (the backdrop has no picture here).
    EXPECT_EQ(ScreenPixel(50, 50), 0x000000u);
    EXPECT_EQ(ScreenPixel(270, 431), ScreenPixel(270, 440));
    EXPECT_FALSE(GameWidgetTest::ChannelsNear(ScreenPixel(270, 431), 0x00FF00u, 40));
}

// Layouts are data: panels built on a folder without "layers.ini" get empty
// rectangles and buttons without pictures, and still run and draw.
TEST_F(PanelTest, PanelsOnAnEmptyLayoutFolderHaveEmptyRectanglesAndDoNotCrash)
{
    menuLayout = WriteLayout("emptymenu", {});
    CountedMenu* menu = OpenMenu({}, {});
    EXPECT_EQ(menu->GetRect(), Rect());
    EXPECT_EQ(menu->titleRect, Rect());
    EXPECT_EQ(menu->Buttons().size(), 3u);
    RunUpdates(34);
    DrawScreen();

    CountedExit* panel = OpenExit();
    EXPECT_EQ(panel->GetRect(), Rect());
    EXPECT_EQ(panel->textRect, Rect());
    EXPECT_EQ(panel->Buttons().size(), 2u);
    RunUpdates(34);
    DrawScreen();
    InjectClick(0, 0);
    RunUpdate();
    menu->Close();
    panel->Close();
    RunUpdates(34);
    EXPECT_EQ(gPanelsDeleted, 2);
}

} // namespace
