#include "ControlTestSupport.h"
#include "FakeWidgetHost.h"
#include "graphics/context/Graphics.h"
#include "widgets/ComponentBox.h"
#include "widgets/Dialog.h"
#include "widgets/DialogButton.h"
#include "widgets/DialogListener.h"
#include "widgets/SysFont.h"
#include "widgets/WidgetManager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <memory>

namespace {

using Tandry::Color;
using Tandry::Dialog;
using Tandry::MemoryImage;
using Tandry::Rect;
using WidgetTest::FillImage;
using WidgetTest::FirstDifference;

class RecordingDialogListener : public Tandry::DialogListener {
public:
    void OnDialogButtonDown(int dialogId, int buttonId) override
    {
        log.push_back("down " + std::to_string(dialogId) + " " + std::to_string(buttonId));
    }
    void OnDialogButtonClick(int dialogId, int buttonId) override
    {
        log.push_back("click " + std::to_string(dialogId) + " " + std::to_string(buttonId));
        if (onClick)
            onClick();
    }
    std::vector<std::string> log;
    std::function<void()> onClick;
};

// A font of chosen metrics, for the height arithmetic.
class MetricFont : public Tandry::Font {
public:
    MetricFont(int height, int ascent, int lineSpacingOffset)
    {
        mHeight = height;
        mAscent = ascent;
        mLineSpacingOffset = lineSpacingOffset;
        mLoaded = true;
    }
    Font* Duplicate() const override { return new MetricFont(*this); }
    void MeasureText(Tandry::FloatRect& out, const std::wstring& text, float, float, float, float, float, int,
                     int) const override
    {
        out = {0.0f, 0.0f, 5.0f * static_cast<float>(text.size()), static_cast<float>(mHeight)};
    }
    void DrawString(Tandry::Graphics*, int, int, const std::wstring&, const Color&, const Rect&, float, float, float,
                    int, int) override
    {
    }
};

class DialogFixture : public ::testing::Test {
protected:
    DialogFixture() : manager(&host)
    {
        host.widgetManager = &manager;
        host.dialogListener = &listener;
        manager.width = 1024;
        manager.height = 768;
    }
    ~DialogFixture() override
    {
        for (Dialog* dialog : made) {
            if (dialog->manager != nullptr)
                manager.RemoveWidget(dialog);
            delete dialog;
        }
    }
    Dialog* Make(int mode, const std::wstring& footer = L"foot")
    {
        made.push_back(new Dialog(7, true, L"Head", L"Some body text", footer, mode));
        return made.back();
    }
    int IndexIn(const Tandry::Widget* widget) const
    {
        const auto it = std::find(manager.children.begin(), manager.children.end(), widget);
        return it == manager.children.end() ? -1 : static_cast<int>(std::distance(manager.children.begin(), it));
    }

    WidgetTest::BoxFonts fonts;
    Tandry::FakeWidgetHost host;
    Tandry::WidgetManager manager;
    RecordingDialogListener listener;
    std::vector<Dialog*> made;
};

TEST_F(DialogFixture, ButtonsAndLabelsByMode)
{
    struct Case {
        int mode;
        const wchar_t* yes;
        const wchar_t* no;
    };
    for (const Case& c : {Case{1, L"YES", L"NO"}, Case{2, L"OK", L"CANCEL"}, Case{3, L"foot", nullptr},
                          Case{0, nullptr, nullptr}, Case{4, nullptr, nullptr}, Case{-1, nullptr, nullptr}}) {
        SCOPED_TRACE(c.mode);
        Dialog* dialog = Make(c.mode);
        ASSERT_EQ(dialog->yesButton != nullptr, c.yes != nullptr);
        ASSERT_EQ(dialog->noButton != nullptr, c.no != nullptr);
        if (c.yes != nullptr) {
            EXPECT_EQ(dialog->yesButton->label, c.yes);
            EXPECT_EQ(dialog->yesButton->id, 1000);
        }
        if (c.no != nullptr) {
            EXPECT_EQ(dialog->noButton->label, c.no);
            EXPECT_EQ(dialog->noButton->id, 1001);
        }
        EXPECT_EQ(dialog->result, Dialog::kNoResult);
        EXPECT_EQ(dialog->dialogListener, &listener);
        EXPECT_TRUE(dialog->hasTransparencies);
        EXPECT_TRUE(dialog->hasAlpha);
        EXPECT_EQ(dialog->priority, 1);
    }
}

TEST_F(DialogFixture, ButtonEventsReachTheListener)
{
    Dialog* dialog = Make(2);
    dialog->Resize(100, 100, 400, 200);
    manager.AddWidget(dialog);
    const Tandry::DialogButton* cancel = dialog->noButton;
    const int cx = cancel->x + cancel->width / 2;
    const int cy = cancel->y + cancel->height / 2;
    manager.MouseMove(cx, cy);
    manager.MouseDown(cx, cy, 1);
    EXPECT_EQ(listener.log, std::vector<std::string>{"down 7 1001"});
    EXPECT_EQ(dialog->result, Dialog::kNoResult);
    manager.MouseUp(cx, cy, 1);
    EXPECT_EQ(listener.log, (std::vector<std::string>{"down 7 1001", "click 7 1001"}));
    EXPECT_EQ(dialog->result, 1001);

    listener.log.clear();
    dialog->OnButtonDown(5);
    dialog->OnButtonClick(999);
    EXPECT_TRUE(listener.log.empty());
    EXPECT_EQ(dialog->result, 1001);
}

TEST_F(DialogFixture, ButtonsAreTopLevelWidgetsJustAboveTheDialog)
{
    Tandry::Widget below;
    Tandry::Widget above;
    manager.AddWidget(&below);
    Dialog* dialog = Make(1);
    manager.AddWidget(dialog);
    manager.AddWidget(&above);
    EXPECT_EQ(dialog->yesButton->parent, &manager);
    EXPECT_EQ(IndexIn(dialog), 1);
    EXPECT_EQ(IndexIn(dialog->yesButton), 2);
    EXPECT_EQ(IndexIn(dialog->noButton), 3);
    EXPECT_EQ(IndexIn(&above), 4);

    manager.BringToFront(dialog);
    EXPECT_EQ(IndexIn(&above), 1);
    EXPECT_EQ(IndexIn(dialog), 2);
    EXPECT_GT(IndexIn(dialog->yesButton), 2);
    EXPECT_GT(IndexIn(dialog->noButton), 2);

    manager.RemoveWidget(dialog);
    EXPECT_EQ(IndexIn(dialog->yesButton), -1);
    EXPECT_EQ(IndexIn(dialog->noButton), -1);
    EXPECT_EQ(manager.children.size(), 2u);
    manager.RemoveWidget(&below);
    manager.RemoveWidget(&above);
}

TEST_F(DialogFixture, ResizePlacesTheButtonsOnTheScreen)
{
    Dialog* two = Make(1);
    two->backgroundInsets = {3, 4, 5, 6};
    two->contentInsets = {10, 11, 12, 13};
    two->buttonSidePadding = 7;
    two->buttonHorizontalSpacing = 9;
    two->buttonHeight = 20;
    two->Resize(50, 60, 400, 300);
    // (400 - 14 - 12 - 5 - 3 - 10 - 9) / 2
    const int buttonWidth = 173;
    EXPECT_EQ(two->yesButton->GetRect(), Rect(50 + 3 + 10 + 7, 60 + 300 - 13 - 6 - 20, buttonWidth, 20));
    EXPECT_EQ(two->noButton->GetRect(), Rect(50 + 3 + 10 + 7 + buttonWidth + 9, 60 + 300 - 13 - 6 - 20, buttonWidth, 20));

    Dialog* one = Make(3);
    one->backgroundInsets = {3, 4, 5, 6};
    one->contentInsets = {10, 11, 12, 13};
    one->buttonSidePadding = 7;
    one->Resize(50, 60, 400, 300);
    EXPECT_EQ(one->yesButton->GetRect(), Rect(50 + 3 + 10, 60 + 300 - 13 - 6 - 24, 400 - 12 - 5 - 3 - 10, 24));
}

TEST_F(DialogFixture, PreferredHeightAddsEachPart)
{
    MetricFont header(20, 15, 3);
    MetricFont lines(10, 8, 2);
    const auto make = [&](const std::wstring& head, const std::wstring& body, const std::wstring& foot, int mode) {
        Dialog* dialog = new Dialog(1, false, head, body, foot, mode);
        made.push_back(dialog);
        dialog->SetHeaderFont(&header);
        dialog->SetLinesFont(&lines);
        return dialog;
    };
    const int insets = 48;
    EXPECT_EQ(make(L"H", L"", L"", 0)->GetPreferredHeight(300), insets + 20 - 3);
    EXPECT_EQ(make(L"", L"", L"", 0)->GetPreferredHeight(300), insets);
    // The footer: 8 after something placed, then the header's line spacing.
    EXPECT_EQ(make(L"H", L"", L"F", 0)->GetPreferredHeight(300), insets + 17 + 8 + 23);
    EXPECT_EQ(make(L"", L"", L"F", 0)->GetPreferredHeight(300), insets + 23);
    // Mode 3's footer is its button's label: only the button counts.
    EXPECT_EQ(make(L"H", L"", L"F", 3)->GetPreferredHeight(300), insets + 17 + 8 + 24 + 8);
    EXPECT_EQ(make(L"", L"", L"", 1)->GetPreferredHeight(300), insets + 24 + 8);
    EXPECT_EQ(make(L"H", L"", L"F", 2)->GetPreferredHeight(300), insets + 17 + 8 + 23 + 8 + 24 + 8);

    // The body: wrapped in the width less the insets and 4, with the body
    // font's spacing plus the offset; 10 after the header.
    Dialog* body = make(L"H", L"word word word word word", L"", 0);
    body->lineSpacingOffset = 4;
    Tandry::Graphics measure;
    measure.SetFont(&lines);
    const int wrapped = Tandry::GetWordWrappedHeight(&measure, 100 - 48 - 4, body->dialogLines, 12 + 4);
    ASSERT_GT(wrapped, 10);
    EXPECT_EQ(body->GetPreferredHeight(100), insets + 17 + 10 + wrapped);
}

TEST_F(DialogFixture, ButtonColoursFollowColoursThreeAndFour)
{
    Dialog* dialog = Make(1);
    EXPECT_EQ(dialog->yesButton->GetColor(0), Color(0, 0, 0));
    dialog->SetColor(3, Color(1, 2, 3));
    dialog->SetColor(4, Color(4, 5, 6));
    for (const Tandry::DialogButton* button : {dialog->yesButton, dialog->noButton}) {
        EXPECT_EQ(button->GetColor(0), Color(1, 2, 3));
        EXPECT_EQ(button->GetColor(1), Color(4, 5, 6));
    }
    EXPECT_EQ(dialog->GetColor(3), Color(1, 2, 3));
}

TEST_F(DialogFixture, PlainLookDrawsOutlineFillAndShadowAtFixedMargins)
{
    Dialog* dialog = new Dialog(1, false, L"", L"", L"", 0);
    made.push_back(dialog);
    dialog->backgroundInsets = {5, 5, 5, 5};
    dialog->Resize(0, 0, 100, 80);
    dialog->SetColor(5, Color(10, 20, 30));
    dialog->SetColor(6, Color(200, 100, 50));
    MemoryImage got;
    FillImage(got, 100, 80, 0xFF8090A0);
    Tandry::Graphics g(&got);
    dialog->Draw(&g);

    MemoryImage want;
    FillImage(want, 100, 80, 0xFF8090A0);
    Tandry::Graphics w(&want);
    w.SetColor(Color(200, 100, 50));
    w.DrawRect(12, 12, 75, 55);
    w.SetColor(Color(10, 20, 30));
    w.FillRect(13, 13, 74, 54);
    w.SetColor(Color(0, 0, 0, 128));
    w.FillRect(88, 24, 12, 44);
    w.FillRect(24, 68, 76, 12);
    EXPECT_EQ(FirstDifference(got, want), "");
    EXPECT_EQ(got.GetPixel(12, 12), 0xFFC86432u);
    EXPECT_EQ(got.GetPixel(50, 40), 0xFF0A141Eu);
    EXPECT_EQ(got.GetPixel(11, 11), 0xFF8090A0u);
    // The shadow darkens what lies under it.
    EXPECT_LT(got.GetPixel(95, 40) & 0xFF, 0xA0u);
}

TEST_F(DialogFixture, ModeThreeDrawsNoFooterLine)
{
    const auto draw = [&](int mode, const std::wstring& footer) {
        Dialog* dialog = Make(mode, footer);
        dialog->Resize(0, 0, 200, 150);
        auto image = std::make_unique<MemoryImage>();
        FillImage(*image, 200, 150, 0);
        Tandry::Graphics g(image.get());
        dialog->Draw(&g);
        return image;
    };
    auto withFooter = draw(3, L"FOOTER");
    auto without = draw(3, L"");
    EXPECT_EQ(FirstDifference(*withFooter, *without), "");
    auto modeZero = draw(0, L"FOOTER");
    auto modeZeroWithout = draw(0, L"");
    EXPECT_NE(FirstDifference(*modeZero, *modeZeroWithout), "");
}

// A 9 x 9 box image with a different colour in every pixel (steps of 16, so
// no channel loses bits on the way), corners of 3.
void MakeBoxImage(MemoryImage& image)
{
    image.Create(9, 9);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 9; ++x)
            image.GetBits()[y * 9 + x] = 0xFF000000u | static_cast<uint32_t>((y + 1) * 16) << 16 |
                                         static_cast<uint32_t>((x + 1) * 16);
    image.MarkBitsChanged();
}

// The blit of an opaque pixel may lose one step of each channel; the image's
// steps of 16 still tell every source pixel apart.
bool SamePixel(uint32_t got, uint32_t want)
{
    for (int shift = 0; shift < 32; shift += 8) {
        const int a = static_cast<int>(got >> shift & 0xFF);
        const int b = static_cast<int>(want >> shift & 0xFF);
        if (a < b - 1 || a > b + 1)
            return false;
    }
    return true;
}

// The source column (or row) of a destination one: corners once, then the
// middle strip repeating.
int SourceOf(int at, int size, int corner, int sourceSize)
{
    if (at < corner)
        return at;
    if (at >= size - corner)
        return sourceSize - (size - at);
    return corner + (at - corner) % (sourceSize - 2 * corner);
}

TEST_F(DialogFixture, BoxLookTilesItsStrips)
{
    MemoryImage box;
    MakeBoxImage(box);
    Dialog* dialog = new Dialog(1, false, L"", L"", L"", 0);
    made.push_back(dialog);
    dialog->componentImage = &box;
    dialog->componentInsets = {3, 3, 3, 3};
    dialog->backgroundInsets = {2, 1, 0, 0};
    dialog->Resize(0, 0, 22, 15);
    MemoryImage got;
    FillImage(got, 22, 15, 0xFF123456);
    Tandry::Graphics g(&got);
    dialog->Draw(&g);
    // The box is 20 x 14 from (2, 1): 14 inside columns, 5 strips, the last cut.
    for (int y = 0; y < 15; ++y) {
        for (int x = 0; x < 22; ++x) {
            uint32_t want = 0xFF123456u;
            if (x >= 2 && y >= 1) {
                const int sx = SourceOf(x - 2, 20, 3, 9);
                const int sy = SourceOf(y - 1, 14, 3, 9);
                want = box.GetPixel(sx, sy);
            }
            ASSERT_TRUE(SamePixel(got.GetPixel(x, y), want))
                << x << "," << y << ": " << std::hex << got.GetPixel(x, y) << " vs " << want;
        }
    }
}

TEST_F(DialogFixture, CornersThatUseUpTheSourceDrawOnlyTheCorners)
{
    MemoryImage box;
    MakeBoxImage(box);
    for (const Tandry::Insets corners : {Tandry::Insets{4, 4, 5, 5}, Tandry::Insets{5, 5, 5, 5}, Tandry::Insets{4, 0, 5, 9}}) {
        MemoryImage got;
        FillImage(got, 30, 30, 0xFF000000);
        Tandry::Graphics g(&got);
        Tandry::DrawComponentBox(&g, Rect(0, 0, 9, 9), Rect(0, 0, 30, 30), &box, corners);
        EXPECT_EQ(got.GetPixel(15, 15), 0xFF000000u);
    }
    MemoryImage got;
    FillImage(got, 30, 30, 0xFF000000);
    Tandry::Graphics g(&got);
    Tandry::DrawComponentBox(&g, Rect(0, 0, 9, 9), Rect(0, 0, 30, 30), &box, Tandry::Insets{4, 4, 5, 5});
    EXPECT_TRUE(SamePixel(got.GetPixel(0, 0), box.GetPixel(0, 0)));
    EXPECT_TRUE(SamePixel(got.GetPixel(29, 29), box.GetPixel(8, 8)));
}

TEST_F(DialogFixture, DraggingStopsAtTheScreenEdgesWithTheDragCursor)
{
    Dialog* dialog = Make(0);
    dialog->Resize(100, 100, 400, 200);
    manager.AddWidget(dialog);
    dialog->MouseDown(50, 20, 1);
    EXPECT_TRUE(dialog->dragging);
    EXPECT_EQ(host.cursorCalls, (std::vector<std::string>{"kind 2", "apply"}));
    dialog->MouseDrag(5000, 20);
    EXPECT_EQ(dialog->x, 1024 - 400 + 8);
    EXPECT_EQ(dialog->y, 100);
    EXPECT_EQ(dialog->dragMouseX, 400 - 9);
    dialog->MouseDrag(-5000, -5000);
    EXPECT_EQ(dialog->x, -8);
    EXPECT_EQ(dialog->y, -8);
    EXPECT_EQ(dialog->dragMouseX, 8);
    EXPECT_EQ(dialog->dragMouseY, 8);
    dialog->MouseUp(0, 0, 0, 1);
    EXPECT_FALSE(dialog->dragging);
    EXPECT_EQ(host.cursorCalls.back(), "apply");
    EXPECT_EQ(host.cursorCalls[host.cursorCalls.size() - 2], "kind 0");

    // A right click does not drag; a dialog wider than the screen ends at the upper bound.
    dialog->MouseDown(10, 10, 1, -1);
    EXPECT_FALSE(dialog->dragging);
    dialog->Resize(0, 0, 1100, 200);
    dialog->MouseDown(10, 10, 0, 1);
    dialog->MouseDrag(-300, 10);
    EXPECT_EQ(dialog->x, 1024 - 1100 + 8);
}

TEST_F(DialogFixture, WaitForResultRunsStepsUntilAClick)
{
    Dialog* dialog = Make(2);
    dialog->Resize(100, 100, 400, 200);
    manager.AddWidget(dialog);
    host.onUpdateStep = [&](int step) {
        if (step == 3)
            dialog->OnButtonClick(1000);
        return true;
    };
    EXPECT_EQ(dialog->WaitForResult(true), 1000);
    EXPECT_EQ(host.updateSteps, 3);
    EXPECT_EQ(host.updatedPointers, (std::vector<bool*>{nullptr, nullptr, nullptr}));
    EXPECT_EQ(host.closedDialogs, std::vector<int>{7});
}

TEST_F(DialogFixture, WaitForResultEndsWhenTheLoopStopsOrTheDialogLeaves)
{
    Dialog* dialog = Make(2);
    manager.AddWidget(dialog);
    host.onUpdateStep = [](int step) { return step < 2; };
    EXPECT_EQ(dialog->WaitForResult(false), Dialog::kNoResult);
    EXPECT_EQ(host.updateSteps, 2);
    EXPECT_TRUE(host.closedDialogs.empty());

    host.updateSteps = 0;
    host.onUpdateStep = [&](int step) {
        if (step == 4)
            manager.RemoveWidget(dialog);
        return true;
    };
    EXPECT_EQ(dialog->WaitForResult(false), Dialog::kNoResult);
    EXPECT_EQ(host.updateSteps, 4);
}

TEST_F(DialogFixture, ADialogDeletedDuringAStepEndsTheWaitUntouched)
{
    auto* dialog = new Dialog(9, true, L"", L"", L"", 2);
    manager.AddWidget(dialog);
    host.onUpdateStep = [&](int step) {
        if (step == 2) {
            dialog->result = 0;
            manager.RemoveWidget(dialog);
            delete dialog;
        }
        return true;
    };
    EXPECT_EQ(dialog->WaitForResult(true), 0);
    EXPECT_EQ(host.updateSteps, 2);
    EXPECT_TRUE(host.closedDialogs.empty());
}

TEST_F(DialogFixture, ANestedWaitLearnsOfTheDeletionToo)
{
    auto* dialog = new Dialog(9, true, L"", L"", L"", 2);
    manager.AddWidget(dialog);
    int outerSteps = 0;
    host.onUpdateStep = [&](int step) {
        if (step == 1) {
            ++outerSteps;
            EXPECT_EQ(dialog->WaitForResult(true), Dialog::kNoResult);
        } else if (step == 3) {
            manager.RemoveWidget(dialog);
            delete dialog;
        }
        return true;
    };
    EXPECT_EQ(dialog->WaitForResult(true), Dialog::kNoResult);
    EXPECT_EQ(outerSteps, 1);
    EXPECT_TRUE(host.closedDialogs.empty());
}

} // namespace
