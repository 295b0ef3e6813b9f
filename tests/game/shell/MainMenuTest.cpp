// The main menu on a small fixture layout in the application's widget
// manager, drawn onto the screen: its buttons and pressed pictures, the logo
// button, the passing "lightarrow" effects (through a recording effect
// maker, with a seeded rand), the tilted player name, the footer, the light
// spots' drawing, the exit and logo buttons and the pending profile screen.
#include "game/shell/MainMenu.h"

#include "GameWidgetFixture.h"
#include "game/shell/DarkBack.h"
#include "game/shell/ExitScreen.h"
#include "game/shell/ProfileManager.h"
#include "game/shell/TGameButton.h"
#include "particles/ParticlesCommon.h"
#include "platform/headless/HeadlessShell.h"
#include "util/RandomGenerator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

using GameWidgetTest::LayoutPicture;
using GameWidgetTest::SolidPixels;
using Tandry::MainMenu;
using Tandry::Rect;

// What the menu asked of one effect.
struct EffectRecord {
    std::string name;
    float x = -1.0f;
    float y = -1.0f;
    float seconds = 0.0f;
    bool looping = false;
    int updates = 0;
    bool finished = false;
    bool deleted = false;
};

class RecordingEffect : public Tandry::ParticlesCommon {
public:
    explicit RecordingEffect(EffectRecord* record) : mRecord(record) {}
    ~RecordingEffect() override { mRecord->deleted = true; }

    void StartAt(const float position[2]) override
    {
        mRecord->x = position[0];
        mRecord->y = position[1];
    }
    void Restart() override {}
    void StopEmitting() override {}
    void SetPosition(const float[2], bool) override {}
    void SeekTime(float seconds) override { mRecord->seconds += seconds; }
    void SetLooping(bool looping) override { mRecord->looping = looping; }
    void Draw(Tandry::Graphics*) override {}
    void Update(float) override { ++mRecord->updates; }
    bool IsFinished() override { return mRecord->finished; }
    bool IsOwnEngine() override { return true; }

private:
    EffectRecord* mRecord;
};

constexpr uint32_t kPlate = 0xFF806040u;

// 0xFFF398 scaled by some strength: green and blue keep their ratios to red.
bool InNameColour(uint32_t rgb)
{
    const int red = static_cast<int>((rgb >> 16) & 0xFFu);
    const int green = static_cast<int>((rgb >> 8) & 0xFFu);
    const int blue = static_cast<int>(rgb & 0xFFu);
    return red >= 100 && std::abs(green - red * 243 / 255) <= 3 && std::abs(blue - red * 152 / 255) <= 3;
}

class MainMenuTest : public GameWidgetTest::GameWidgetFixture {
protected:
    void TearDown() override
    {
        if (menu != nullptr) {
            Manager().RemoveWidget(menu.get());
            menu.reset();
        }
        // The menu reads the player's name from the store.
        Tandry::ShutdownProfileManager();
        GameWidgetFixture::TearDown();
    }

    // Five buttons of 50 x 20 in a column from (100, 100), each pressed
    // picture two pixels lower, except the credits button's.
    std::vector<LayoutPicture> ButtonPictures()
    {
        std::vector<LayoutPicture> pictures;
        const char* names[] = {"play", "here", "options", "credits", "exit"};
        for (int i = 0; i < 5; ++i) {
            const std::string base = std::string("buttons/") + names[i];
            const int y = 100 + 40 * i;
            pictures.push_back({base + "_in", 100, y, 4, SolidPixels(50, 20, kPlate)});
            pictures.push_back({base + "_ac", 100, y, 5, SolidPixels(50, 20, kPlate)});
            if (std::string(names[i]) != "credits")
                pictures.push_back({base + "_dn", 101, y + 2, 5, SolidPixels(50, 20, 0xFF00FF00u)});
        }
        return pictures;
    }

    void WriteMenuLayout(std::vector<LayoutPicture> extra = {})
    {
        std::vector<LayoutPicture> pictures = ButtonPictures();
        pictures.push_back({"buttons/player_name", 512, 262, 3, SolidPixels(240, 30, 0xFF0000FFu)});
        for (LayoutPicture& picture : extra)
            pictures.push_back(std::move(picture));
        WriteLayout("main_menu", pictures);
    }

    // Made, placed on the screen, loaded as the board switch would.
    MainMenu* MakeMenu(bool openProfiles = false)
    {
        menu = std::make_unique<MainMenu>(openProfiles);
        menu->makeEffect = [this](const std::string& name) {
            effects.push_back(std::make_unique<EffectRecord>());
            effects.back()->name = name;
            return new RecordingEffect(effects.back().get());
        };
        menu->Resize(0, 0, 1024, 768);
        Manager().AddWidget(menu.get());
        menu->LoadResources();
        menu->OnLoaded();
        return menu.get();
    }

    std::vector<EffectRecord*> EffectsNamed(const std::string& name)
    {
        std::vector<EffectRecord*> found;
        for (const auto& effect : effects)
            if (effect->name == name)
                found.push_back(effect.get());
        return found;
    }

    template <class Kind>
    std::vector<Kind*> ChildrenOf()
    {
        std::vector<Kind*> found;
        for (Tandry::Widget* child : menu->children)
            if (auto* kind = dynamic_cast<Kind*>(child))
                found.push_back(kind);
        return found;
    }

    std::string DebugText() { return platform->Debug().GetAll(); }

    std::unique_ptr<MainMenu> menu;
    std::vector<std::unique_ptr<EffectRecord>> effects;
};

TEST_F(MainMenuTest, ButtonsComeFromTheirEntriesWithThePressedPictureAtItsOffset)
{
    WriteMenuLayout();
    MakeMenu();
    ASSERT_EQ(menu->buttons.size(), 5u);
    const char* names[] = {"play", "here", "options", "credits", "exit"};
    for (int i = 0; i < 5; ++i) {
        Tandry::TGameButton* button = menu->buttons[i];
        const std::string base = std::string("buttons/") + names[i];
        SCOPED_TRACE(base);
        EXPECT_EQ(button->id, i);
        EXPECT_EQ(button->GetRect(), Rect(100, 100 + 40 * i, 50, 20));
        EXPECT_EQ(button->normalPicture, menu->Layout()->FindEntry(base + "_in")->image);
        EXPECT_EQ(button->overPicture, menu->Layout()->FindEntry(base + "_ac")->image);
        EXPECT_TRUE(button->label.empty());
        EXPECT_EQ(button->parent, menu.get());
        if (i == 3) {
            EXPECT_EQ(button->downImage, nullptr);
            continue;
        }
        Tandry::GuiLayoutEntry* pressed = menu->Layout()->FindEntry(base + "_dn");
        EXPECT_EQ(button->downImage, pressed->image);
        EXPECT_EQ(button->downOffset, Tandry::Point(1, 2));
        // The button shows it only while pressed.
        EXPECT_FALSE(pressed->drawFlag);
    }
    EXPECT_EQ(menu->nameRect, Rect(512, 262, 240, 30));
    EXPECT_FALSE(menu->Layout()->FindEntry("buttons/player_name")->drawFlag);
}

TEST_F(MainMenuTest, TheLogoButtonNeedsBothPictures)
{
    WriteMenuLayout();
    WritePicture("fsdata/logo_a.png", SolidPixels(60, 24, kPlate));
    WritePicture("fsdata/logo_na.png", SolidPixels(60, 24, kPlate));
    MakeMenu();
    ASSERT_NE(menu->logoButton, nullptr);
    EXPECT_EQ(menu->logoButton->id, MainMenu::kLogoId);
    EXPECT_EQ(menu->logoButton->GetRect(), Rect(1024 - 60 - 30, 30, 60, 24));
    EXPECT_EQ(menu->logoButton->parent, menu.get());
    Manager().RemoveWidget(menu.get());
    menu.reset();

    std::filesystem::remove(ProgramFolder() + "/fsdata/logo_na.png");
    MakeMenu();
    EXPECT_EQ(menu->logoButton, nullptr);
    EXPECT_EQ(ChildrenOf<Tandry::TGameButton>().size(), 5u);
}

TEST_F(MainMenuTest, TheFourEffectsLoopFromTheirPointsAdvancedByTheirSeconds)
{
    WriteMenuLayout();
    MakeMenu();
    struct Want {
        const char* name;
        float x, y, seconds;
    };
    for (const Want& want : {Want{"1_Sky", 900, 120, 60}, Want{"12_lght_l", 330, 230, 5}, Want{"hg_house_2", 710, 285, 5}}) {
        SCOPED_TRACE(want.name);
        const std::vector<EffectRecord*> found = EffectsNamed(want.name);
        ASSERT_EQ(found.size(), 1u);
        EXPECT_EQ(found[0]->x, want.x);
        EXPECT_EQ(found[0]->y, want.y);
        EXPECT_EQ(found[0]->seconds, want.seconds);
        EXPECT_TRUE(found[0]->looping);
    }
    menu->UpdateBoard(0.01f);
    EXPECT_EQ(EffectsNamed("1_Sky")[0]->updates, 1);
    EXPECT_EQ(EffectsNamed("hg_house_2")[0]->updates, 1);
}

TEST_F(MainMenuTest, ALightArrowStartsOneToThreeSecondsInAboveTheMenuAndGoesWhenFinished)
{
    WriteMenuLayout();
    for (uint32_t seed : {1u, 7u, 12345u}) {
        SCOPED_TRACE(seed);
        Tandry::CrtSeed(seed);
        // The delay is the first number drawn: 1 + rand / 32767 x 2.
        const int first = Tandry::CrtRand();
        Tandry::CrtSeed(seed);
        const float delay = 1.0f + static_cast<float>(first) / 32767.0f * 2.0f;
        if (menu != nullptr) {
            Manager().RemoveWidget(menu.get());
            menu.reset();
        }
        effects.clear();
        MakeMenu();
        int updates = 0;
        while (EffectsNamed("lightarrow").empty() && updates < 400) {
            menu->UpdateBoard(0.01f);
            ++updates;
        }
        ASSERT_EQ(EffectsNamed("lightarrow").size(), 1u);
        EXPECT_GE(updates, 100);
        EXPECT_LE(updates, 301);
        EXPECT_NEAR(updates, delay / 0.01f, 1.5f);
        EffectRecord* arrow = EffectsNamed("lightarrow")[0];
        EXPECT_GE(arrow->x, 0.0f);
        EXPECT_LE(arrow->x, 1024.0f);
        EXPECT_GE(arrow->y, 30.0f);
        EXPECT_LE(arrow->y, 200.0f);
        EXPECT_GE(menu->arrowDelay, 1.0f);
        EXPECT_LE(menu->arrowDelay, 3.0f);

        menu->UpdateBoard(0.01f);
        EXPECT_FALSE(arrow->deleted);
        arrow->finished = true;
        menu->UpdateBoard(0.01f);
        EXPECT_TRUE(arrow->deleted);
        EXPECT_TRUE(menu->passingEffects.empty());
    }
}

TEST_F(MainMenuTest, EveryFxEntryBecomesADarkLightSpotTheLayoutNoLongerDraws)
{
    WriteMenuLayout({{"fx/a", 600, 100, 2, SolidPixels(20, 20, 0xFFC08040u)},
                     {"fxb", 640, 100, 2, SolidPixels(20, 20, 0xFF4080C0u)},
                     {"fx/c", 680, 100, 2, SolidPixels(20, 20, 0xFFC08040u)}});
    MakeMenu();
    ASSERT_EQ(menu->lightSpots.size(), 2u);
    EXPECT_EQ(menu->lightSpots[0].entry->name, "fx/a");
    EXPECT_EQ(menu->lightSpots[1].entry->name, "fx/c");
    for (const Tandry::MenuLightSpot& spot : menu->lightSpots) {
        EXPECT_EQ(spot.state, Tandry::MenuLightSpot::kDark);
        EXPECT_GE(spot.duration, 1.0f);
        EXPECT_LE(spot.duration, 5.0f);
    }

    // Dark spots are not drawn; a lit one is its picture in white at its alpha.
    DrawScreen();
    EXPECT_EQ(ScreenPixel(610, 110), 0x000000u);
    EXPECT_TRUE(GameWidgetTest::ChannelsNear(ScreenPixel(650, 110), 0x4080C0u));
    menu->lightSpots[1].alpha = 0.5f;
    DrawScreen();
    EXPECT_EQ(ScreenPixel(610, 110), 0x000000u);
    EXPECT_TRUE(GameWidgetTest::ChannelsNear(ScreenPixel(690, 110), 0x604020u, 2)) << std::hex << ScreenPixel(690, 110);
    // Past 1 (the flicker's peak) it is drawn fully.
    menu->lightSpots[1].alpha = 1.2f;
    DrawScreen();
    EXPECT_TRUE(GameWidgetTest::ChannelsNear(ScreenPixel(690, 110), 0xC08040u, 2)) << std::hex << ScreenPixel(690, 110);
}

TEST_F(MainMenuTest, ThePlayerNameIsRenderedOnceAndDrawnTiltedInItsColour)
{
    WriteMenuLayout();
    MakeMenu();
    EXPECT_EQ(menu->nameImage, nullptr);

    menu->SetPlayerName(L"MMMMMM");
    ASSERT_NE(menu->nameImage, nullptr);
    Tandry::Font* font = fonts[5].get();
    const int width = font->StringWidth(L"MMMMMM", 1.0f, 1.0f, 0.0f);
    EXPECT_EQ(width, 6 * 6);
    EXPECT_EQ(menu->nameImage->mWidth, width);
    EXPECT_EQ(menu->nameImage->mHeight, font->GetHeight());
    EXPECT_EQ(menu->namePosition, Tandry::Point(512 - width / 2, 262 - font->GetAscent()));
    // White boxes on a clear ground, above the baseline.
    EXPECT_EQ(menu->nameImage->GetPixel(3, font->GetAscent() - 2), 0xFFFFFFFFu);
    EXPECT_EQ(menu->nameImage->GetPixel(0, font->GetAscent() - 2) >> 24, 0u);

    DrawScreen();
    // The name's colour (the turned picture is filtered, so its pixels are
    // that colour at some strength), and the tilt: its pixels span more rows
    // than the upright name could, one end lower than the other.
    std::vector<Tandry::Point> named;
    for (int y = 200; y < 320; ++y)
        for (int x = 400; x < 620; ++x)
            if (InNameColour(ScreenPixel(x, y)))
                named.emplace_back(x, y);
    ASSERT_FALSE(named.empty()) << "the name is not drawn in its colour";
    int top = INT_MAX, bottom = INT_MIN, left = INT_MAX, right = INT_MIN;
    for (const Tandry::Point& p : named) {
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
        left = std::min(left, p.x);
        right = std::max(right, p.x);
    }
    // The mean row of each end's pixels.
    auto endRow = [&](bool leftEnd) {
        double sum = 0;
        int count = 0;
        for (const Tandry::Point& p : named)
            if (leftEnd ? p.x < left + 6 : p.x > right - 6) {
                sum += p.y;
                ++count;
            }
        return sum / count;
    };
    EXPECT_GE(bottom - top + 1, 14);
    EXPECT_GE(std::abs(endRow(true) - endRow(false)), 5.0);
    EXPECT_NEAR((left + right) / 2.0, 512.0, 4.0);

    menu->SetPlayerName(L"");
    EXPECT_EQ(menu->nameImage, nullptr);
    EXPECT_EQ(menu->playerName, L"");
}

TEST_F(MainMenuTest, TheFooterIsDrawnSmallerAndCentredAtTheBottom)
{
    SetLangTexts(L"Interface", {{"MainMenuCopyright", L"MMMMMMMMMM"}});
    WriteMenuLayout();
    MakeMenu();
    EXPECT_EQ(menu->footer, L"MMMMMMMMMM");
    DrawScreen();
    int top = INT_MAX, bottom = INT_MIN, left = INT_MAX, right = INT_MIN;
    for (int y = 700; y < 768; ++y) {
        for (int x = 0; x < 1024; ++x) {
            if (ScreenPixel(x, y) == 0)
                continue;
            top = std::min(top, y);
            bottom = std::max(bottom, y);
            left = std::min(left, x);
            right = std::max(right, x);
        }
    }
    ASSERT_NE(top, INT_MAX) << "no footer";
    // Ten boxes of 6 at 0.8: 48 wide, where the full size would take 60.
    EXPECT_LE(right - left + 1, 48);
    EXPECT_GE(right - left + 1, 44);
    EXPECT_NEAR((left + right + 1) / 2.0, 512.0, 2.0);
    // The baseline at 768 - 0.8 x 13 (truncated): the boxes end on it.
    const int baseline = static_cast<int>(768.0f - 0.8f * 13.0f);
    EXPECT_LE(bottom, baseline);
    EXPECT_GE(bottom, baseline - 2);
    EXPECT_LE(bottom - top + 1, 9);
}

TEST_F(MainMenuTest, ExitOpensABackdropAndTheConfirmationWhoseCloseTheBackdropCalls)
{
    WriteMenuLayout();
    MakeMenu();
    menu->OnButtonClick(MainMenu::kExitId);
    const std::vector<Tandry::DarkBack*> backs = ChildrenOf<Tandry::DarkBack>();
    const std::vector<Tandry::ExitScreen*> panels = ChildrenOf<Tandry::ExitScreen>();
    ASSERT_EQ(backs.size(), 1u);
    ASSERT_EQ(panels.size(), 1u);
    EXPECT_EQ(backs[0]->zOrder, 30);
    EXPECT_EQ(panels[0]->zOrder, 30);
    EXPECT_EQ(panels[0]->backdrop, backs[0]);
    // The backdrop under the panel, both above the buttons.
    EXPECT_EQ(menu->children.back(), panels[0]);
    EXPECT_EQ(*std::prev(menu->children.end(), 2), backs[0]);

    backs[0]->clickCall();
    EXPECT_EQ(panels[0]->alphaTarget, 0.0f);
    EXPECT_TRUE(backs[0]->closing);
}

TEST_F(MainMenuTest, TheLogoOpensTheShortcutsAddressWithItsCaseKept)
{
    WriteMenuLayout();
    MakeMenu();
    auto& shell = dynamic_cast<Platform::HeadlessShell&>(Platform::GetPlatform().GetShell());
    menu->OnButtonClick(MainMenu::kLogoId);
    EXPECT_TRUE(shell.GetOpenedUrls().empty());

    TestSupport::WriteFile(ProgramFolder() + "/website.url",
                           "[InternetShortcut]\r\nURL=https://Example.org/Path?Q=1\r\n");
    menu->OnButtonClick(MainMenu::kLogoId);
    EXPECT_EQ(shell.GetOpenedUrls(), std::vector<std::string>{"https://Example.org/Path?Q=1"});
}

TEST_F(MainMenuTest, AMenuMadeForAFailedProfileAsksForTheProfileScreenOnceAfterItIsShown)
{
    WriteMenuLayout();
    MakeMenu(true);
    menu->UpdateBoard(0.01f);
    EXPECT_EQ(DebugText().find("ShowProfileScreen"), std::string::npos);
    menu->OnShown();
    for (int i = 0; i < 3; ++i)
        menu->UpdateBoard(0.01f);
    const std::string text = DebugText();
    const size_t first = text.find("ShowProfileScreen: hidden");
    ASSERT_NE(first, std::string::npos);
    EXPECT_EQ(text.find("ShowProfileScreen", first + 1), std::string::npos);

    Manager().RemoveWidget(menu.get());
    MakeMenu(false);
    menu->OnShown();
    menu->UpdateBoard(0.01f);
    EXPECT_EQ(DebugText().find("ShowProfileScreen", first + 1), std::string::npos);
}

TEST_F(MainMenuTest, TheNameIsTheBoardsAndTheMusicKey)
{
    MainMenu board(false);
    EXPECT_EQ(board.GetName(), "Menu");
    EXPECT_EQ(board.GetMusicKey(), "Menu");
}

} // namespace
