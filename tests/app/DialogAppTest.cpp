// Dialogs on the real application object: a modal dialog keeps clicks from
// the widgets below it, waiting for its result runs the application's own
// loop steps, and the closed dialog goes through the deferred deletion once.
#include "app/TandryAppBase.h"

#include "AppTestSupport.h"
#include "graphics/image/MemoryImage.h"
#include "platform/fonts/BoxTextService.h"
#include "platform/fonts/TextService.h"
#include "util/Format.h"
#include "widgets/DialogButton.h"
#include "widgets/WidgetManager.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

using namespace AppTest;

class CountedDialog : public Tandry::Dialog {
public:
    using Dialog::Dialog;
    ~CountedDialog() override { Note(Tandry::FormatString("delete dialog %d", id)); }
};

// Runs a test's callback before each loop step, with the clock moved on so
// that the steps update.
class StepApp : public TestApp {
public:
    Tandry::Dialog* MakeDialog(int id, bool modal, const std::wstring& header, const std::wstring& lines,
                               const std::wstring& footer, int buttonMode) override
    {
        return new CountedDialog(id, modal, header, lines, footer, buttonMode);
    }
    bool RunUpdateStep(bool* updated) override
    {
        // A wait that never ends fails the test instead of hanging it.
        if (steps >= 5000)
            return false;
        ++steps;
        if (onStep)
            onStep(steps);
        return TandryAppBase::RunUpdateStep(updated);
    }

    std::function<void(int)> onStep;
    int steps = 0;
};

class ClickCounter : public Tandry::Widget {
public:
    using Widget::MouseDown;
    void MouseDown(int, int, int, int) override { ++presses; }
    int presses = 0;
};

// Closes a dialog from its update once armed.
class ClosingWidget : public Tandry::Widget {
public:
    ClosingWidget(Tandry::TandryAppBase& owner, int dialogId) : mOwner(owner), mDialogId(dialogId) {}
    void Update() override
    {
        Widget::Update();
        if (!armed)
            return;
        armed = false;
        mOwner.CloseDialog(mDialogId);
    }
    bool armed = false;

private:
    Tandry::TandryAppBase& mOwner;
    int mDialogId;
};

class DialogApp : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        Platform::InstallTextService(std::make_unique<Platform::BoxTextService>());
    }
    void TearDown() override
    {
        Platform::ResetTextService();
        AppFixture::TearDown();
    }
};

void Click(Tandry::WidgetManager& manager, int x, int y)
{
    manager.MouseMove(x, y);
    manager.MouseDown(x, y, 1);
    manager.MouseUp(x, y, 1);
}

TEST_F(DialogApp, AModalDialogWaitsForItsOkButtonAndIsDeletedOnce)
{
    StepApp app;
    app.Init();
    ASSERT_TRUE(app.mInitDone);
    Tandry::WidgetManager& manager = *app.mWidgetManager;
    ClickCounter below;
    below.Resize(0, 0, 1024, 768);
    manager.AddWidget(&below);

    Tandry::Dialog* dialog = app.OpenDialog(5, true, L"Question", L"Go on?", L"", 2);
    ASSERT_NE(dialog->yesButton, nullptr);
    EXPECT_EQ(dialog->dialogListener, &app);
    EXPECT_EQ(dialog->x, 256);
    EXPECT_EQ(dialog->width, 512);
    EXPECT_GT(dialog->height, 48);
    const Tandry::DialogButton* ok = dialog->yesButton;
    const int okX = ok->x + ok->width / 2;
    const int okY = ok->y + ok->height / 2;
    Log().clear();

    app.onStep = [&](int step) {
        platform->Clock().Advance(20);
        if (step == 2)
            Click(manager, 10, 10);
        if (step == 4)
            Click(manager, okX, okY);
    };
    EXPECT_EQ(dialog->WaitForResult(true), 1000);
    EXPECT_EQ(app.steps, 4);
    EXPECT_EQ(below.presses, 0);
    EXPECT_EQ(app.FindDialog(5), nullptr);
    EXPECT_FALSE(manager.HasWidget(dialog));
    // The application heard of the click as its own button event.
    EXPECT_NE(IndexOf(Tandry::FormatString("button click %d", 5 + Tandry::TandryAppBase::kDialogYesOffset)), -1);

    EXPECT_EQ(LogEntriesStartingWith("delete dialog 5").size(), 0u);
    app.ProcessDeferredDeletes();
    EXPECT_EQ(LogEntriesStartingWith("delete dialog 5").size(), 1u);
    // Out of the modal layer: clicks reach the widget below again.
    Click(manager, 10, 10);
    EXPECT_EQ(below.presses, 1);
    manager.RemoveWidget(&below);
    app.ProcessDeferredDeletes();
    EXPECT_EQ(LogEntriesStartingWith("delete dialog 5").size(), 1u);
}

TEST_F(DialogApp, ADialogClosedInsideAStepEndsTheWait)
{
    StepApp app;
    app.Init();
    ASSERT_TRUE(app.mInitDone);
    Tandry::Dialog* dialog = app.OpenDialog(6, true, L"Question", L"", L"", 1);
    // A widget's update closes the dialog, so the step that runs the update
    // also deletes it; the wait ends with the result the close gave it.
    ClosingWidget closer(app, 6);
    app.mWidgetManager->AddWidget(&closer);
    Log().clear();
    app.onStep = [&](int step) {
        platform->Clock().Advance(20);
        if (step == 2)
            closer.armed = true;
    };
    EXPECT_EQ(dialog->WaitForResult(true), 0);
    EXPECT_FALSE(closer.armed);
    EXPECT_EQ(LogEntriesStartingWith("delete dialog 6").size(), 1u);
    EXPECT_EQ(app.GetDialogCount(), 0);
    app.mWidgetManager->RemoveWidget(&closer);
}

TEST_F(DialogApp, ADialogWhoseCornersUseUpItsBoxImageDraws)
{
    StepApp app;
    Tandry::Dialog* dialog = app.OpenDialog(7, false, L"Head", L"Text", L"", 0);
    Tandry::MemoryImage box;
    box.Create(8, 8);
    for (int i = 0; i < 64; ++i)
        box.GetBits()[i] = 0xFF00FF00u;
    box.MarkBitsChanged();
    dialog->componentImage = &box;
    dialog->componentInsets = {4, 4, 4, 4};
    Tandry::MemoryImage screen;
    screen.Create(1024, 768);
    app.mWidgetManager->drawImage = &screen;
    EXPECT_TRUE(app.mWidgetManager->DrawScreen());
    // Green, give or take the blit's rounding.
    EXPECT_GE(screen.GetPixel(dialog->x, dialog->y) >> 8 & 0xFF, 0xFEu);
    EXPECT_GE(screen.GetPixel(dialog->x + dialog->width - 1, dialog->y + dialog->height - 1) >> 8 & 0xFF, 0xFEu);
    app.mWidgetManager->drawImage = nullptr;
    app.CloseDialog(7);
}

} // namespace
