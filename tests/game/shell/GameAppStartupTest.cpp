// The game's start-up and teardown on the recording headless platform, on
// the least data the start-up needs (WriteStartupData).
#include "GameAppFixture.h"

#include "app/UserDataDir.h"
#include "game/shell/CursorWidget.h"
#include "graphics/display/DDImage.h"
#include "game/shell/GlobalResources.h"
#include "game/shell/ProfileManager.h"
#include "particles/Particles.h"
#include "particles/cGlobalParticles.h"
#include "platform/headless/HeadlessShell.h"
#include "platform/window/WindowSystemBase.h"
#include "resources/ini/IniDocument.h"
#include "resources/manager/ResourceManagerException.h"
#include "util/StringUtils.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

using ShellTest::WindowOnlyGameApp;

class GameAppStartupTest : public AppTest::AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        Tandry::ResetGameIni();
        Tandry::ResetBoardRegistry();
        Tandry::ResetSceneStarter();
        Tandry::ResetLangTableForTests();
        Tandry::ResetGlobalResources();
    }
    void TearDown() override
    {
        app.reset();
        ShellTest::ResetGameShellState();
        AppFixture::TearDown();
    }

    void Write(const std::string& path, const std::string& bytes)
    {
        std::filesystem::create_directories(std::filesystem::path(ProgramFolder() + "/" + path).parent_path());
        TestSupport::WriteFile(ProgramFolder() + "/" + path, bytes);
    }
    void WriteCaption(const std::wstring& caption)
    {
        Tandry::WideIniDocument document;
        const auto section = document.FindOrAddSection(L"Interface");
        document.FindOrAddKey(section, L"WindowCaption").SetValue(caption);
        std::filesystem::create_directories(ProgramFolder() + "/res");
        ASSERT_TRUE(Tandry::WideIniDocument::SaveUtf16("res\\lang.ini", document));
    }
    void Start()
    {
        app = std::make_unique<WindowOnlyGameApp>();
        app->Init();
    }
    // Starts the game, which must end the process; its exit code.
    int StartFailing()
    {
        return ExitCodeOf([this] { Start(); });
    }
    std::vector<std::wstring> BoxTexts()
    {
        std::vector<std::wstring> texts;
        for (const auto& box : platform->Dialogs().GetBoxes())
            texts.push_back(box.text);
        return texts;
    }

    std::unique_ptr<WindowOnlyGameApp> app;
};

TEST_F(GameAppStartupTest, TheDataRootIsTheFrameworksDataFolder)
{
    ShellTest::WriteStartupData(ProgramFolder());
    Start();

    const std::wstring root = Tandry::WidenString(*platform->Folders().HeadlessFolders::GetAppDataFolder()) +
                              L"\\Hollowmere\\Moorglen";
    EXPECT_EQ(Tandry::gGameDataDir, root);
    EXPECT_EQ(Tandry::gProfilesDir, root + L"\\profiles\\");
    EXPECT_EQ(Tandry::gGameDataDir + L"\\", Tandry::GetUserDataDir());
    EXPECT_TRUE(std::filesystem::is_directory(DataFolder() + "/profiles"));
}

TEST_F(GameAppStartupTest, AProfileDirIsJoinedBelowTheDataRootAndEveryLevelIsMade)
{
    ShellTest::WriteStartupData(ProgramFolder());
    Write("res/game.ini", "[Game]\nProfileDir=sub\\deeper\n");
    Start();

    const std::wstring root = Tandry::WidenString(*platform->Folders().HeadlessFolders::GetAppDataFolder()) +
                              L"\\Hollowmere\\Moorglen\\sub\\deeper";
    EXPECT_EQ(Tandry::gGameDataDir, root);
    EXPECT_EQ(Tandry::gProfilesDir, root + L"\\profiles\\");
    EXPECT_TRUE(std::filesystem::is_directory(DataFolder() + "/sub/deeper/profiles"));
}

TEST_F(GameAppStartupTest, WithoutADataFolderTheRootIsTheCurrentFolder)
{
    platform->Folders().noAppData = true;
    ShellTest::WriteStartupData(ProgramFolder());
    Start();

    EXPECT_EQ(Tandry::gGameDataDir, L".");
    EXPECT_EQ(Tandry::gProfilesDir, L".\\profiles\\");
    EXPECT_TRUE(std::filesystem::is_directory(ProgramFolder() + "/profiles"));
}

TEST_F(GameAppStartupTest, TheDefaultsAreQuieterAndTheDataChooseTheScreenMode)
{
    struct Case {
        const char* gameIni;
        bool windowed;
    };
    const Case cases[] = {
        {"[Options]\nFullScreen=0\n", true},
        {"[Options]\nFullScreen=1\n", false},
        {"[Game]\n", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.gameIni);
        Write("res/game.ini", c.gameIni);
        WindowOnlyGameApp game;
        game.OnBeforeSettingsLoad();
        EXPECT_EQ(game.mWindowed, c.windowed);
        EXPECT_EQ(game.mMusicVolume, 0.3);
        EXPECT_EQ(game.mSfxVolume, 0.3);
        EXPECT_EQ(game.GetAmbientVolume(), 0.3);
    }
}

TEST_F(GameAppStartupTest, TheStoredScreenModeRulesOverTheData)
{
    Write("res/game.ini", "[Options]\nFullScreen=0\n");
    StoreDword("ScreenMode", 1);
    WindowOnlyGameApp game;
    game.OnBeforeSettingsLoad();
    game.LoadSettingsFromRegistry();
    EXPECT_FALSE(game.mWindowed);
}

TEST_F(GameAppStartupTest, TheAmbientVolumeIsStoredInHundredths)
{
    StoreDword("AmbientVolume", 55);
    WindowOnlyGameApp game;
    game.LoadSettingsFromRegistry();
    EXPECT_DOUBLE_EQ(game.GetAmbientVolume(), 0.55);

    game.mAmbientVolume = 0.555;
    game.SaveSettingsToRegistry();
    EXPECT_EQ(StoredDword("AmbientVolume"), 55u);
}

TEST_F(GameAppStartupTest, TheUsersCursorChoiceIsSavedWhileFocusLossHasItOff)
{
    WindowOnlyGameApp game;
    game.LoadSettingsFromRegistry();
    ASSERT_TRUE(game.mCustomCursorsChoice);
    // What focus loss does to the framework's flag.
    game.mCustomCursorsEnabled = false;

    game.SaveSettingsToRegistry();

    EXPECT_EQ(StoredDword("CustomCursors"), 1u);
    EXPECT_FALSE(game.mCustomCursorsEnabled);
}

TEST_F(GameAppStartupTest, AFullStartUpLeavesEveryPieceInPlace)
{
    ShellTest::WriteStartupData(ProgramFolder());
    Start();

    EXPECT_FALSE(app->mLoadingFailed);
    for (Tandry::Font* font : {Tandry::FONT_BUTTON, Tandry::FONT_TEXT_BOLD})
        EXPECT_NE(font, nullptr);
    EXPECT_NE(Tandry::IMAGE_LOOP, nullptr);
    ASSERT_NE(Tandry::IMAGE_PARTS, nullptr);
    EXPECT_EQ(Tandry::Particles::Sheet(), Tandry::IMAGE_PARTS);

    ASSERT_NE(app->mBlankCursorImage, nullptr);
    EXPECT_EQ(app->mBlankCursorImage->mWidth, 1);
    EXPECT_EQ(app->mBlankCursorImage->mHeight, 1);
    EXPECT_EQ(app->mBlankCursorImage->GetBits()[0], 0u);
    ASSERT_NE(app->mCursorWidget, nullptr);
    EXPECT_EQ(app->mWidgetManager->cursorWidget, app->mCursorWidget);
    EXPECT_NE(app->mMusicPlaylist, nullptr);
    EXPECT_EQ(Tandry::cGlobalParticles::Instance().parent, app->mWidgetManager);
    EXPECT_EQ(Tandry::cGlobalParticles::Instance().width, 1024);
    EXPECT_EQ(Tandry::cGlobalParticles::Instance().height, 768);
}

TEST_F(GameAppStartupTest, TheCaptionComesFromTheLanguageTable)
{
    ShellTest::WriteStartupData(ProgramFolder());
    WriteCaption(L"Moorglen \u00e9 Test");
    Start();

    auto& windows = dynamic_cast<Platform::WindowSystemBase&>(Platform::GetPlatform().GetWindows());
    EXPECT_EQ(app->mWindowTitle, L"Moorglen \u00e9 Test");
    EXPECT_EQ(windows.GetWindowTitle(app->mMainWindow), L"Moorglen \u00e9 Test");
}

TEST_F(GameAppStartupTest, WithoutACaptionTheTitleStays)
{
    ShellTest::WriteStartupData(ProgramFolder());
    Start();

    auto& windows = dynamic_cast<Platform::WindowSystemBase&>(Platform::GetPlatform().GetWindows());
    EXPECT_EQ(app->mWindowTitle, L"Moorglen: Cinderlock");
    EXPECT_EQ(windows.GetWindowTitle(app->mMainWindow), L"Moorglen: Cinderlock");
}

TEST_F(GameAppStartupTest, AMissingManifestEndsTheRunWithItsError)
{
    EXPECT_EQ(StartFailing(), 0);

    ASSERT_EQ(BoxTexts().size(), 1u);
    EXPECT_NE(BoxTexts()[0].find(L"resources.xml"), std::wstring::npos) << Tandry::WideToNarrow(BoxTexts()[0]);
    EXPECT_FALSE(app->mLoadingFailed);
    EXPECT_EQ(Tandry::FONT_BUTTON, nullptr);
    EXPECT_EQ(app->mCursorWidget, nullptr);
}

TEST_F(GameAppStartupTest, AMissingGlobalPictureStopsTheBindingAndTheStartUp)
{
    ShellTest::WriteStartupData(ProgramFolder(), "IMAGE_LOOP");
    // A picture in "Game", which must not load.
    const std::string manifestPath = ProgramFolder() + "/data/properties/resources.xml";
    std::string manifest = TestSupport::ReadFile(manifestPath);
    const std::string emptyGame = "<Resources id=\"Game\"/>";
    manifest.replace(manifest.find(emptyGame), emptyGame.size(),
                     "<Resources id=\"Game\"><Image id=\"IMAGE_FAST\" path=\"data/images/IMAGE_LINE.png\"/>"
                     "</Resources>");
    TestSupport::WriteFile(manifestPath, manifest);

    EXPECT_EQ(StartFailing(), 0);

    EXPECT_EQ(BoxTexts(), std::vector<std::wstring>{L"Image resource not found: IMAGE_LOOP"});
    EXPECT_TRUE(app->mLoadingFailed);
    EXPECT_NE(Tandry::IMAGE_HINT_RECH, nullptr);
    EXPECT_NE(Tandry::IMAGE_LINE, nullptr);
    EXPECT_EQ(Tandry::IMAGE_LOOP, nullptr);
    EXPECT_EQ(Tandry::IMAGE_PARTS, nullptr);
    EXPECT_THROW(app->mResourceManager->GetImageThrow("IMAGE_FAST"), Tandry::ResourceManagerException);
    EXPECT_EQ(app->mCursorWidget, nullptr);
    EXPECT_EQ(app->mMusicPlaylist, nullptr);
}

TEST_F(GameAppStartupTest, TheDeveloperProfileIsMadeOnlyWhenAsked)
{
    struct Case {
        const char* gameIni;
        std::wstring current;
    };
    const Case cases[] = {
        {"[Game]\nCreateDeveloperProfile=1\n", L"Developer"},
        {"[Game]\n", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.gameIni);
        std::filesystem::remove_all(DataFolder());
        ShellTest::WriteStartupData(ProgramFolder());
        Write("res/game.ini", c.gameIni);
        Start();
        EXPECT_EQ(Tandry::GetProfileManager().GetCurrentName(), c.current);
        app.reset();
        Tandry::ShutdownProfileManager();
        Tandry::ResetGameIni();
        Tandry::ResetGlobalResources();
    }
}

TEST_F(GameAppStartupTest, TeardownOpensThePlayAddressAsWrittenAndLeavesNoGame)
{
    ShellTest::WriteStartupData(ProgramFolder());
    Write("play.url", "[InternetShortcut]\r\nURL=https://Example.org/Path?Q=1\r\n");
    Start();

    app.reset();

    auto& shell = dynamic_cast<Platform::HeadlessShell&>(Platform::GetPlatform().GetShell());
    EXPECT_EQ(shell.GetOpenedUrls(), std::vector<std::string>{"https://Example.org/Path?Q=1"});
    EXPECT_EQ(Tandry::gGameApp, nullptr);
    EXPECT_EQ(Tandry::cGlobalParticles::Instance().parent, nullptr);
    EXPECT_EQ(Tandry::IMAGE_PARTS, nullptr);
}

TEST_F(GameAppStartupTest, WithoutAPlayAddressTeardownOpensNothing)
{
    ShellTest::WriteStartupData(ProgramFolder());
    Start();
    app.reset();

    auto& shell = dynamic_cast<Platform::HeadlessShell&>(Platform::GetPlatform().GetShell());
    EXPECT_TRUE(shell.GetOpenedUrls().empty());
}

} // namespace
