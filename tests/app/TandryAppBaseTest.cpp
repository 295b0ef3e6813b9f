#include "app/TandryAppBase.h"

#include "AppTestSupport.h"
#include "app/AppPaths.h"
#include "graphics/display/D3DTester.h"
#include "graphics/image/MemoryImage.h"
#include "platform/dialog/DialogService.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>

namespace {

using namespace AppTest;

using AppConstruction = AppFixture;

TEST_F(AppConstruction, AddTableSaturatesAt255)
{
    TestApp app;
    EXPECT_EQ(app.mAddTable[0], 0);
    EXPECT_EQ(app.mAddTable[100], 100);
    EXPECT_EQ(app.mAddTable[255], 255);
    EXPECT_EQ(app.mAddTable[256], 255);
    EXPECT_EQ(app.mAddTable[511], 255);
}

TEST_F(AppConstruction, StringTableReplacesAndFallsBackToTheDefault)
{
    TestApp app;
    EXPECT_EQ(app.LookupString("DIALOG_BUTTON_CANCEL", L"x"), L"CANCEL");
    EXPECT_EQ(app.LookupString("NO_SUCH_ID", L"the default"), L"the default");
    app.SetString("DIALOG_BUTTON_OK", L"Fine");
    app.SetString("DIALOG_BUTTON_OK", L"Okay");
    EXPECT_EQ(app.LookupString("DIALOG_BUTTON_OK", L"x"), L"Okay");
}

TEST_F(AppConstruction, ChangeDirIsTheProgramFolder)
{
    struct Case {
        const char* programPath;
        const char* changeDir;
    };
    const Case cases[] = {
        {"/opt/moorglen/moorglen", "/opt/moorglen"},
        {"moorglen", ""},
        {"C:\\Games\\Moorglen\\moorglen.exe", "C:\\Games\\Moorglen"},
        {"/opt/a\\b/moorglen", "/opt/a\\b"},
    };
    for (const Case& c : cases) {
        platform->Process().SetProgramPath(c.programPath);
        TestApp app;
        EXPECT_EQ(app.mChangeDir, c.changeDir) << c.programPath;
    }
}

TEST_F(AppConstruction, ProductVersionIsThatOfTheProgramFile)
{
    TestApp app;
    EXPECT_EQ(app.mProductVersion, platform->Process().ReadProductVersion(ProgramFolder() + "/moorglen"));
    EXPECT_FALSE(app.mProductVersion.empty());
    EXPECT_EQ(app.ReadProductVersion(ProgramFolder() + "/elsewhere"), "");
}

TEST_F(AppConstruction, GlobalPointsAtTheObjectWhileItLives)
{
    EXPECT_EQ(Tandry::gApplication, nullptr);
    {
        TestApp app;
        EXPECT_EQ(Tandry::gApplication, &app);
        EXPECT_EQ(Tandry::GetImageHost(), &app);
    }
    EXPECT_EQ(Tandry::gApplication, nullptr);
    EXPECT_EQ(Tandry::GetImageHost(), nullptr);
}

TEST_F(AppConstruction, DesktopUnlessTheSystemIsATablet)
{
    TestApp app;
    EXPECT_FALSE(app.mTabletPc);
    EXPECT_TRUE(app.mDesktopPc);
    EXPECT_EQ(app.mDemoFileName, "tandryapp.dmo");
}

TEST_F(AppConstruction, ReleasedSharedImageMarksTheSetDirty)
{
    TestApp app;
    EXPECT_FALSE(app.mSharedImagesDirty);
    Tandry::GetImageHost()->SharedImageReleased();
    EXPECT_TRUE(app.mSharedImagesDirty);
}

TEST_F(AppConstruction, MemoryImagesRegisterWithTheApplication)
{
    auto* app = new TestApp;
    EXPECT_EQ(app->GetAddTable()[300], 255);
    EXPECT_EQ(app->GetDisplayFormat().mRGBBits, 32);
    EXPECT_FALSE(app->IsDisplay3D());
    Tandry::CriticalSection& ownLock = app->GetDisplayLock();

    auto* gone = new Tandry::MemoryImage;
    auto* kept = new Tandry::MemoryImage;
    EXPECT_EQ(app->mMemoryImages, (std::set<Tandry::MemoryImage*>{gone, kept}));
    delete gone;
    EXPECT_EQ(app->mMemoryImages, std::set<Tandry::MemoryImage*>{kept});

    // Once the display exists its lock, format and 3D flag are the ones images see.
    auto* display = new RecordingDisplay();
    display->SetPixelFormat(16, 0xF800, 0x7E0, 0x1F);
    display->mIs3D = true;
    app->mDDInterface = display;
    EXPECT_EQ(&app->GetDisplayLock(), &display->mCritSect);
    EXPECT_NE(&app->GetDisplayLock(), &ownLock);
    EXPECT_EQ(app->GetDisplayFormat().mRGBBits, 16);
    EXPECT_TRUE(app->IsDisplay3D());

    // An image that outlives the application no longer calls back into it.
    delete app;
    delete kept;
}

TEST_F(AppConstruction, DialogButtonsBecomeButtonsOfTheApplication)
{
    struct Case {
        int buttonId;
        const char* click;
        const char* down;
    };
    const Case cases[] = {
        {1000, "button click 2005", "button down 2005"},
        {1001, "button click 3005", "button down 3005"},
        {1002, nullptr, nullptr},
    };
    TestApp app;
    for (const Case& c : cases) {
        Log().clear();
        app.OnDialogButtonClick(5, c.buttonId);
        app.OnDialogButtonDown(5, c.buttonId);
        std::vector<std::string> expected;
        if (c.click != nullptr)
            expected = {c.click, c.down};
        EXPECT_EQ(Log(), expected) << c.buttonId;
    }
}

TEST(AppPaths, PathDirectoryAndAbsoluteDemoNames)
{
    EXPECT_EQ(Tandry::GetPathDirectory("a\\b/c"), "a\\b");
    EXPECT_EQ(Tandry::GetPathDirectory("a/b\\c"), "a/b");
    EXPECT_EQ(Tandry::GetPathDirectory("/x"), "");
    EXPECT_EQ(Tandry::GetPathDirectory(""), "");

    struct Case {
        const char* name;
        bool absolute;
    };
    const Case cases[] = {
        {"/home/a.dmo", true}, {"C:\\a.dmo", true},  {"..\\a.dmo", true}, {"a.dmo", false},
        {"a", false},          {"", false},          {"ab", false},       {"x:", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Tandry::IsAbsoluteDemoPath(c.name), c.absolute) << c.name;
}

// The destructor's questions about hardware acceleration.
class HardwareQuestions : public AppFixture {
protected:
    struct Case {
        const char* name;
        bool changedThisSession;
        std::optional<uint32_t> storedIs3D;
        bool testerPassedWithoutWarning;
        bool display3D;
        bool sceneFailed;
        bool screensaver;
        std::vector<int> answers;
        size_t expectedBoxes;
        std::optional<uint32_t> expectedIs3D;
        bool expectedDisplay3D;
    };

    void Run(const Case& c)
    {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        if (c.storedIs3D)
            StoreDword("Is3D", *c.storedIs3D);
        for (int answer : c.answers)
            platform->Dialogs().ScriptBox(answer);
        bool display3DAtEnd = false;
        {
            auto* app = new TestApp;
            app->mCaptionPrefix = "Moorglen";
            app->m3DChangedThisSession = c.changedThisSession;
            app->mScreensaverMode = c.screensaver;
            Tandry::gD3DSceneFailed = c.sceneFailed;
            auto* display = new RecordingDisplay();
            display->mIs3D = c.display3D;
            display->mD3DTester = new Tandry::D3DTester;
            if (!c.testerPassedWithoutWarning)
                display->mD3DTester->mWarning = "old driver";
            app->mDDInterface = display;
            // The display is gone once the destructor ends; look at its flag when it goes.
            struct Watch : Tandry::ResourceManager {
                Watch(Tandry::TandryAppBase* a, bool& seen) : ResourceManager(a), owner(a), flag(seen) {}
                ~Watch() override { flag = owner->mDDInterface->mIs3D; }
                Tandry::TandryAppBase* owner;
                bool& flag;
            };
            delete app->mResourceManager;
            app->mResourceManager = new Watch(app, display3DAtEnd);
            delete app;
        }
        const auto boxes = platform->Dialogs().GetBoxes();
        ASSERT_EQ(boxes.size(), c.expectedBoxes);
        for (const auto& box : boxes) {
            EXPECT_EQ(box.caption, L"Moorglen Hardware Acceleration Confirmation");
            EXPECT_EQ(box.flags, Platform::MB_YESNO | Platform::MB_ICONQUESTION);
            EXPECT_EQ(box.owner, nullptr);
        }
        EXPECT_EQ(StoredDword("Is3D"), c.expectedIs3D);
        EXPECT_EQ(display3DAtEnd, c.expectedDisplay3D);
    }
};

TEST_F(HardwareQuestions, AskedAndAnsweredAsTheTableSays)
{
    const int yes = Platform::IDYES;
    const int no = Platform::IDNO;
    const Case cases[] = {
        {"nothing changed, nothing failed", false, std::nullopt, false, true, false, false, {}, 0, std::nullopt, true},
        {"changed with Is3D stored writes the flag", true, 0u, false, true, false, false, {}, 0, 1u, true},
        {"changed, passed without warning writes the flag", true, std::nullopt, true, false, false, false, {}, 0, 0u,
         false},
        {"changed, absent, 3D off asks nothing", true, std::nullopt, false, false, false, false, {}, 0, std::nullopt,
         false},
        {"changed, absent, 3D on, Yes", true, std::nullopt, false, true, true, false, {yes}, 1, 1u, true},
        {"changed, absent, 3D on, No skips the second", true, std::nullopt, false, true, true, false, {no}, 1,
         std::nullopt, false},
        {"failed scene, No writes false", false, std::nullopt, false, true, true, false, {no}, 1, 0u, true},
        {"failed scene, Yes writes nothing", false, std::nullopt, false, true, true, false, {yes}, 1, std::nullopt,
         true},
        {"failed scene in screen-saver mode asks nothing", false, std::nullopt, false, true, true, true, {}, 0,
         std::nullopt, true},
        {"changed and stored, then the failed scene", true, 1u, false, false, true, false, {no}, 1, 0u, false},
    };
    for (const Case& c : cases)
        Run(c);
}

TEST_F(HardwareQuestions, QuestionTextsComeFromTheStringTable)
{
    platform->Dialogs().ScriptBox(Platform::IDYES);
    {
        TestApp app;
        app.SetString("HARDWARE_ACCEL_NOT_WORKING", L"Keep 3D?");
        app.SetString("HARDWARE_ACCEL_CONFIRMATION", L"3D");
        Tandry::gD3DSceneFailed = true;
    }
    const auto boxes = platform->Dialogs().GetBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"Keep 3D?");
    EXPECT_EQ(boxes[0].caption, L" 3D");
}

TEST_F(AppConstruction, TeardownOrder)
{
    auto* app = new TestApp;
    app->makeDisplay = true;
    app->Init();
    app->AddDialog(7, new LoggedDialog(7, false));
    app->AddDialog(3, new LoggedDialog(3, true));
    app->mSharedImages[{"B", ""}].image = new LoggedImage("b");
    app->mSharedImages[{"A", "X"}].image = new LoggedImage("a");
    app->mRecordingDemo = true;
    Log().clear();

    delete app;

    std::vector<std::string> teardown;
    for (const std::string& entry : Log()) {
        if (entry.rfind("delete", 0) == 0 || entry.rfind("destroy", 0) == 0 || entry.rfind("demo write", 0) == 0 ||
            entry == "close mutex")
            teardown.push_back(entry);
    }
    const std::vector<std::string> expected = {
        "delete dialog 3",
        "delete dialog 7",
        "destroy InvisWindow (no user data)",
        "delete widget manager",
        "delete resource manager",
        "delete image a",
        "delete image b",
        "delete display",
        "delete music",
        "delete sound manager",
        "destroy MainWindow (no user data)",
        "destroy cursor 11,4",
        "destroy cursor 15,10",
        "demo write file (no application)",
        "close mutex",
    };
    EXPECT_EQ(teardown, expected);
}

TEST_F(AppConstruction, WidgetsStillWaitingForDeletionGoWithTheApplication)
{
    {
        TestApp app;
        app.DeferWidgetDelete(new LoggedDialog(9, false));
    }
    EXPECT_EQ(IndexOf("delete dialog 9") >= 0, true);
    EXPECT_LT(IndexOf("delete dialog 9"), IndexOf("delete widget manager"));
}

} // namespace
