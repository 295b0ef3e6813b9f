#include "app/TandryAppBase.h"

#include "AppTestSupport.h"
#include "app/ScreensaverLog.h"
#include "platform/dialog/DialogService.h"
#include "platform/fs/FileOps.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

namespace {

using namespace AppTest;

class DialogApp : public TestApp {
public:
    Tandry::Dialog* MakeDialog(int id, bool modal, const std::wstring&, const std::wstring&, const std::wstring&,
                               int) override
    {
        return new LoggedDialog(id, modal);
    }
};

class AppDialogs : public AppFixture {
protected:
    bool Queued(const DialogApp& app, const Tandry::Widget* widget)
    {
        return std::any_of(app.mDeferredDeletes.begin(), app.mDeferredDeletes.end(),
                           [widget](const auto& entry) { return entry.second == widget; });
    }
};

TEST_F(AppDialogs, DialogOfWidthZeroIsCentredAtAFifthOfTheHeight)
{
    DialogApp app;
    auto* dialog = new LoggedDialog(4, false, 200);
    app.AddDialog(dialog);
    EXPECT_EQ(dialog->askedWidth, 512);
    EXPECT_EQ(dialog->x, 256);
    EXPECT_EQ(dialog->y, 153);
    EXPECT_EQ(dialog->width, 512);
    EXPECT_EQ(dialog->height, 200);
    EXPECT_EQ(app.FindDialog(4), dialog);
    EXPECT_TRUE(app.mWidgetManager->HasWidget(dialog));
    EXPECT_EQ(app.mDialogList, std::list<Tandry::Dialog*>{dialog});
}

TEST_F(AppDialogs, DialogWithAWidthKeepsItsPlace)
{
    DialogApp app;
    auto* dialog = new LoggedDialog(4, false);
    dialog->Resize(10, 20, 300, 40);
    app.AddDialog(dialog);
    EXPECT_EQ(dialog->askedWidth, -1);
    EXPECT_EQ(dialog->x, 10);
    EXPECT_EQ(dialog->width, 300);
}

TEST_F(AppDialogs, OpeningAnIdAgainReplacesTheDialog)
{
    DialogApp app;
    Tandry::Dialog* first = app.OpenDialog(2, false, L"h", L"l", L"f", 1);
    Tandry::Dialog* second = app.OpenDialog(2, false, L"h", L"l", L"f", 1);
    EXPECT_EQ(app.GetDialogCount(), 1);
    EXPECT_EQ(app.FindDialog(2), second);
    EXPECT_TRUE(Queued(app, first));
    EXPECT_FALSE(app.mWidgetManager->HasWidget(first));
    EXPECT_TRUE(app.mWidgetManager->HasWidget(second));
    EXPECT_EQ(IndexOf("delete dialog 2"), -1);
    app.ProcessDeferredDeletes();
    EXPECT_EQ(LogEntriesStartingWith("delete dialog 2").size(), 1u);
}

TEST_F(AppDialogs, CloseGivesAnUnclickedDialogResultZero)
{
    struct Case {
        int result;
        int afterClose;
    };
    const Case cases[] = {{Tandry::Dialog::kNoResult, 0}, {1000, 1000}, {1001, 1001}};
    for (const Case& c : cases) {
        DialogApp app;
        Tandry::Dialog* dialog = app.OpenDialog(1, false, L"", L"", L"", 2);
        EXPECT_EQ(dialog->result, Tandry::Dialog::kNoResult);
        dialog->result = c.result;
        EXPECT_TRUE(app.CloseDialog(dialog));
        EXPECT_EQ(dialog->result, c.afterClose);
        EXPECT_EQ(app.GetDialogCount(), 0);
        EXPECT_TRUE(app.mDialogList.empty());
    }
}

TEST_F(AppDialogs, ClosingAnUnknownIdChangesNothing)
{
    DialogApp app;
    app.OpenDialog(1, true, L"", L"", L"", 1);
    Log().clear();
    EXPECT_FALSE(app.CloseDialog(5));
    EXPECT_EQ(app.GetDialogCount(), 1);
    EXPECT_TRUE(app.mDeferredDeletes.empty());
    EXPECT_TRUE(Log().empty());
}

TEST_F(AppDialogs, ClosingWithoutRemovingLeavesTheWidget)
{
    DialogApp app;
    Tandry::Dialog* dialog = app.OpenDialog(1, false, L"", L"", L"", 1);
    EXPECT_TRUE(app.CloseDialog(1, false, false));
    EXPECT_TRUE(app.mWidgetManager->HasWidget(dialog));
    EXPECT_TRUE(app.mDeferredDeletes.empty());
    app.mWidgetManager->RemoveWidget(dialog);
    delete dialog;
}

TEST_F(AppDialogs, ARegisteredDialogIsNeverAddedTwice)
{
    DialogApp app;
    Tandry::Dialog* dialog = app.OpenDialog(6, true, L"", L"", L"", 1);
    Log().clear();
    app.AddDialog(dialog);
    app.AddDialog(6, dialog);
    app.AddDialog(8, dialog);
    EXPECT_EQ(app.GetDialogCount(), 1);
    EXPECT_EQ(app.FindDialog(6), dialog);
    EXPECT_EQ(app.FindDialog(8), nullptr);
    EXPECT_EQ(app.mDialogList.size(), 1u);
    // The dialog once, and its two buttons beside it.
    EXPECT_EQ(std::count(app.mWidgetManager->children.begin(), app.mWidgetManager->children.end(), dialog), 1);
    EXPECT_EQ(app.mWidgetManager->children.size(), 3u);
    EXPECT_EQ(app.mWidgetManager->baseModalStack.size(), 1u);
    EXPECT_TRUE(app.mDeferredDeletes.empty());
    EXPECT_TRUE(Log().empty());
    app.ProcessDeferredDeletes();
    EXPECT_EQ(app.FindDialog(6), dialog);
}

TEST_F(AppDialogs, ModalDialogOpensAndClosesItsLayer)
{
    DialogApp app;
    Tandry::Dialog* dialog = app.OpenDialog(3, true, L"", L"", L"", 1);
    EXPECT_EQ(app.mWidgetManager->baseModalWidget, dialog);
    EXPECT_EQ(app.mWidgetManager->belowModalFlagChange, (Tandry::FlagChange{0, 0x30}));
    app.CloseDialog(3);
    EXPECT_EQ(app.mWidgetManager->baseModalWidget, nullptr);
    const std::vector<std::string> expected = {"OnModalDialogOpened (modal layer set)",
                                               "OnModalDialogClosed (modal layer set)"};
    EXPECT_EQ(Log(), expected);
}

TEST_F(AppDialogs, NonModalDialogLeavesTheLayersAlone)
{
    DialogApp app;
    app.OpenDialog(3, false, L"", L"", L"", 1);
    app.CloseDialog(3);
    EXPECT_TRUE(app.mWidgetManager->baseModalStack.empty());
    EXPECT_TRUE(Log().empty());
}

class AppBoxes : public AppFixture {
protected:
    // A display in full screen on a main window, as Init leaves it.
    void GoFullScreen(TestApp& app)
    {
        StoreDword("ScreenMode", 1);
        app.makeDisplay = true;
        app.Init();
        ASSERT_FALSE(app.mIsWindowed);
        ASSERT_TRUE(app.mDDInterface->HasDirectDraw());
        Log().clear();
    }

    std::string ReadLog()
    {
        FILE* file = Platform::OpenFile("ScrError.txt", "r");
        if (file == nullptr)
            return "(no file)";
        std::string text;
        char buffer[256];
        size_t got = 0;
        while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
            text.append(buffer, got);
        std::fclose(file);
        return text;
    }
};

TEST_F(AppBoxes, ErrorPopupsAreFatalErrorsOverTheMainWindow)
{
    TestApp app;
    app.Init();
    app.ShowErrorPopupW(L"W \x20AC");
    app.ShowErrorPopupA("A \x80 caf\xE9");
    const auto boxes = platform->Dialogs().GetBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, L"W \x20AC");
    // Narrow text is Windows-1252: 0x80 is the euro sign.
    EXPECT_EQ(boxes[1].text, L"A \x20AC caf\xE9");
    for (const auto& box : boxes) {
        EXPECT_EQ(box.caption, L"FATAL ERROR");
        EXPECT_EQ(box.flags, Platform::MB_ICONERROR);
        EXPECT_EQ(box.owner, app.mMainWindow);
    }
}

TEST_F(AppBoxes, ErrorPopupsAreSilentOnceShuttingDown)
{
    TestApp app;
    app.mShutdown = true;
    app.ShowErrorPopupW(L"late");
    app.ShowErrorPopupA("late");
    EXPECT_TRUE(platform->Dialogs().GetBoxes().empty());
}

TEST_F(AppBoxes, MessageBoxesPassTextCaptionAndFlags)
{
    TestApp app;
    platform->Dialogs().ScriptBox(Platform::IDYES);
    EXPECT_EQ(app.ShowMessageBoxA("Save\x85", "Moorglen", Platform::MB_YESNO), Platform::IDYES);
    EXPECT_EQ(app.ShowMessageBoxW(L"Done", L"Moorglen", Platform::MB_OK), Platform::IDOK);
    const auto boxes = platform->Dialogs().GetBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, L"Save\x2026");
    EXPECT_EQ(boxes[0].flags, Platform::MB_YESNO);
    EXPECT_EQ(boxes[1].caption, L"Moorglen");
}

TEST_F(AppBoxes, FullScreenPopupsFlipAndRecoverAfterwards)
{
    TestApp app;
    GoFullScreen(app);
    app.EnterSystemPopup();
    EXPECT_TRUE(app.mSystemPopupShowing);

    app.mWidgetManager->keyDown[17] = true;
    app.mCtrlDown = true;
    app.mAltDown = true;
    app.mWidgetManager->downButtons = 1;
    app.mUpdateAccumMs = 55;
    platform->Clock().Advance(250);
    app.LeaveSystemPopup();
    EXPECT_FALSE(app.mSystemPopupShowing);
    EXPECT_FALSE(app.mWidgetManager->keyDown[17]);
    EXPECT_FALSE(app.mCtrlDown);
    EXPECT_FALSE(app.mAltDown);
    EXPECT_EQ(app.mWidgetManager->downButtons, 0);
    EXPECT_EQ(platform->Windows().releaseCaptureCalls, 1);
    EXPECT_EQ(app.mUpdateAccumMs, 0);
    EXPECT_EQ(app.mLastTimingTick, platform->Clock().GetTickCount());

    // Nothing held: the capture is left alone.
    app.LeaveSystemPopup();
    EXPECT_EQ(platform->Windows().releaseCaptureCalls, 1);
}

TEST_F(AppBoxes, WindowedPopupsDoNotMarkThePopup)
{
    TestApp app;
    app.makeDisplay = true;
    app.Init();
    app.EnterSystemPopup();
    EXPECT_FALSE(app.mSystemPopupShowing);
    app.mSystemPopupShowing = true;
    app.LeaveSystemPopup();
    EXPECT_TRUE(app.mSystemPopupShowing);
}

TEST_F(AppBoxes, ScreensaverLogsInsteadOfShowingBoxes)
{
    platform->Clock().SetLocalTime({2024, 5, 6, 9, 5, 7, 1});
    TestApp app;
    app.mScreensaverMode = true;
    EXPECT_EQ(app.ShowMessageBoxW(L"first", L"caption", Platform::MB_OK), 1);
    platform->Clock().Advance(20);
    EXPECT_EQ(app.ShowMessageBoxA("load 100%s %d", "caption", Platform::MB_OK), 1);
    app.ShowErrorPopupA("fatal");
    app.ShowErrorPopupW(L"wide");
    EXPECT_TRUE(platform->Dialogs().GetBoxes().empty());
    EXPECT_EQ(ReadLog(), "first 09:05:07 1000\n"
                         "load 100%s %d 09:05:07 1020\n"
                         "fatal 09:05:07 1020\n"
                         "wide 09:05:07 1020\n");

    // A new run starts the file anew.
    Tandry::ResetScreensaverLog();
    app.AppendScreensaverLog("again");
    EXPECT_EQ(ReadLog(), "again 09:05:07 1020\n");
}

TEST_F(AppBoxes, ALogThatCannotBeOpenedIsNotTruncatedLater)
{
    Platform::MakeFolder("ScrError.txt");
    TestApp app;
    app.AppendScreensaverLog("lost");
    Platform::RemoveFolder("ScrError.txt");
    FILE* file = Platform::OpenFile("ScrError.txt", "w");
    ASSERT_NE(file, nullptr);
    std::fputs("kept\n", file);
    std::fclose(file);
    app.AppendScreensaverLog("next");
    EXPECT_EQ(ReadLog().rfind("kept\nnext ", 0), 0u);
}

TEST_F(AppBoxes, CrashTextHasItsFiveLines)
{
    TestApp app;
    app.mProductVersion = "1.2";
    app.mPrimaryThreadId = 0xBEEF;
    platform->Clock().Advance(3725 * 1000 + 999);
    EXPECT_EQ(app.BuildCrashReportText(), "Product: Moorglen\r\n"
                                          "Version: 1.2\r\n"
                                          "Time Loaded: 01:02:05\r\n"
                                          "Fullscreen: No\r\n"
                                          "Primary ThreadId: BEEF\r\n");
    app.mWindowed = false;
    EXPECT_NE(app.BuildCrashReportText().find("Fullscreen: Yes\r\n"), std::string::npos);
    EXPECT_EQ(app.GetExtraCrashText(), "");
}

TEST_F(AppBoxes, AResourceFailureShowsItsTextAndExits)
{
    TestApp app;
    static_cast<RecordingResourceManager*>(app.mResourceManager)->SetError("Failed to load group Game");
    EXPECT_EQ(ExitCodeOf([&] { app.FailWithResourceError(); }), 0);
    const auto boxes = platform->Dialogs().GetBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"Failed to load group Game");
    EXPECT_EQ(boxes[0].caption, L"FATAL ERROR");
}

} // namespace
