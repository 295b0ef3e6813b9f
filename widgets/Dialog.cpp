// The dialog's buttons, events, dragging and waiting for a result.
#include "widgets/Dialog.h"

#include <memory>

#include "graphics/context/Font.h"
#include "widgets/DialogButton.h"
#include "widgets/DialogListener.h"
#include "widgets/WidgetHost.h"
#include "widgets/WidgetManager.h"

namespace Tandry {

namespace {

constexpr wchar_t kYesLabel[] = L"YES";
constexpr wchar_t kNoLabel[] = L"NO";
constexpr wchar_t kOkLabel[] = L"OK";
constexpr wchar_t kCancelLabel[] = L"CANCEL";

constexpr int kArrowCursor = 0;
constexpr int kDragCursor = 2;
// How far the dialog may leave the screen, and how near its edge the grab point may come.
constexpr int kDragMargin = 8;

DialogButton* MakeButton(int buttonId, const std::wstring& label, ButtonListener* listener)
{
    auto* button = new DialogButton(buttonId, listener);
    button->label = label;
    return button;
}

// Lower bound first, so a reversed range ends at its upper bound.
int KeepBetween(int value, int lower, int upper)
{
    if (value < lower)
        value = lower;
    if (value > upper)
        value = upper;
    return value;
}

} // namespace

Dialog::Dialog(int dialogId, bool modal, const std::wstring& header, const std::wstring& lines,
               const std::wstring& footer, int mode)
    : dialogHeader(header), dialogFooter(footer), dialogLines(lines), buttonMode(mode), id(dialogId), isModal(modal)
{
    WidgetHost* host = GetWidgetHost();
    dialogListener = host != nullptr ? host->GetDialogListener() : nullptr;
    hasTransparencies = true;
    hasAlpha = true;
    priority = 1;

    if (mode == 1) {
        yesButton = MakeButton(kYesButtonId, kYesLabel, this);
        noButton = MakeButton(kNoButtonId, kNoLabel, this);
    } else if (mode == 2) {
        yesButton = MakeButton(kYesButtonId, kOkLabel, this);
        noButton = MakeButton(kNoButtonId, kCancelLabel, this);
    } else if (mode == 3) {
        yesButton = MakeButton(kYesButtonId, footer, this);
    }

    // After the buttons, which take colours 3 and 4 as their label colours.
    static constexpr int kColors[][3] = {{255, 255, 255}, {255, 255, 0}, {255, 255, 255}, {0, 0, 0},
                                         {0, 0, 0},       {80, 80, 80},  {255, 255, 255}};
    SetColors(kColors, 7);
}

Dialog::~Dialog()
{
    for (Wait* wait = mWait; wait != nullptr; wait = wait->outer) {
        wait->alive = false;
        wait->lastResult = result;
    }
    delete yesButton;
    delete noButton;
    delete headerFont;
    delete linesFont;
}

void Dialog::SetButtonFont(Font* newFont)
{
    if (yesButton != nullptr)
        yesButton->SetFont(newFont);
    if (noButton != nullptr)
        noButton->SetFont(newFont);
}

void Dialog::SetHeaderFont(Font* newFont)
{
    Font* copy = newFont != nullptr ? newFont->Duplicate() : nullptr;
    delete headerFont;
    headerFont = copy;
}

void Dialog::SetLinesFont(Font* newFont)
{
    Font* copy = newFont != nullptr ? newFont->Duplicate() : nullptr;
    delete linesFont;
    linesFont = copy;
}

bool Dialog::IsModal()
{
    return isModal;
}

int Dialog::ScreenModeChanged(bool /*windowed*/)
{
    return 0;
}

int Dialog::WaitForResult(bool autoKill)
{
    WidgetHost* host = HostOf(this);
    // Handlers run inside the steps may close the dialog, and the step's
    // deferred deletion then deletes it: the destructor tells this wait. The
    // record lives on the heap so that it outlasts a dialog deleted under it.
    auto wait = std::make_unique<Wait>();
    wait->outer = mWait;
    mWait = wait.get();
    if (host != nullptr) {
        while (host->RunUpdateStep(nullptr)) {
            if (!wait->alive || manager == nullptr || result != kNoResult)
                break;
        }
        if (wait->alive && autoKill)
            host->CloseDialog(id);
    }
    if (!wait->alive)
        return wait->lastResult;
    mWait = wait->outer;
    return result;
}

void Dialog::AddedToManager(WidgetManager* widgetManager)
{
    Widget::AddedToManager(widgetManager);
    if (yesButton != nullptr)
        widgetManager->AddWidget(yesButton);
    if (noButton != nullptr)
        widgetManager->AddWidget(noButton);
}

void Dialog::RemovedFromManager(WidgetManager* widgetManager)
{
    Widget::RemovedFromManager(widgetManager);
    if (yesButton != nullptr)
        widgetManager->RemoveWidget(yesButton);
    if (noButton != nullptr)
        widgetManager->RemoveWidget(noButton);
}

void Dialog::ZOrderChanged()
{
    Widget::ZOrderChanged();
    if (manager == nullptr)
        return;
    if (yesButton != nullptr)
        manager->InsertAbove(yesButton, this);
    if (noButton != nullptr)
        manager->InsertAbove(noButton, this);
}

void Dialog::SetColor(int index, const Color& color)
{
    Widget::SetColor(index, color);
    if (index != kButtonTextColor && index != kButtonTextOverColor)
        return;
    const int buttonIndex = index == kButtonTextColor ? ButtonWidget::kLabelColor : ButtonWidget::kLabelOverColor;
    if (yesButton != nullptr)
        yesButton->SetColor(buttonIndex, color);
    if (noButton != nullptr)
        noButton->SetColor(buttonIndex, color);
}

void Dialog::Resize(int newX, int newY, int newWidth, int newHeight)
{
    Widget::Resize(newX, newY, newWidth, newHeight);
    if (yesButton == nullptr)
        return;
    const int left = newX + backgroundInsets.left + contentInsets.left;
    const int top = newY + newHeight - contentInsets.bottom - backgroundInsets.bottom - buttonHeight;
    const int sides = contentInsets.right + backgroundInsets.right + backgroundInsets.left + contentInsets.left;
    if (noButton != nullptr) {
        const int buttonWidth = (newWidth - 2 * buttonSidePadding - sides - buttonHorizontalSpacing) / 2;
        yesButton->Resize(left + buttonSidePadding, top, buttonWidth, buttonHeight);
        noButton->Resize(left + buttonSidePadding + buttonWidth + buttonHorizontalSpacing, top, buttonWidth,
                         buttonHeight);
    } else {
        yesButton->Resize(left, top, newWidth - sides, buttonHeight);
    }
}

void Dialog::ShowCursor(int kind)
{
    WidgetHost* host = HostOf(this);
    if (host == nullptr)
        return;
    host->SetCursorKind(kind);
    host->ApplyCursor();
}

void Dialog::MouseDown(int mouseX, int mouseY, int /*button*/, int clickCount)
{
    if (clickCount != 1)
        return;
    ShowCursor(kDragCursor);
    dragMouseX = mouseX;
    dragMouseY = mouseY;
    dragging = true;
}

void Dialog::MouseDrag(int mouseX, int mouseY)
{
    if (!dragging || manager == nullptr)
        return;
    const int oldX = x;
    const int oldY = y;
    const int newX = KeepBetween(x + mouseX - dragMouseX, -kDragMargin, manager->width - width + kDragMargin);
    const int newY = KeepBetween(y + mouseY - dragMouseY, -kDragMargin, manager->height - height + kDragMargin);
    dragMouseX = KeepBetween(mouseX + oldX - newX, kDragMargin, width - kDragMargin - 1);
    dragMouseY = KeepBetween(mouseY + oldY - newY, kDragMargin, height - kDragMargin - 1);
    Move(newX, newY);
}

void Dialog::MouseUp(int /*mouseX*/, int /*mouseY*/, int /*button*/, int /*clickCount*/)
{
    if (!dragging)
        return;
    ShowCursor(kArrowCursor);
    dragging = false;
}

void Dialog::OnButtonDown(int buttonId)
{
    if (buttonId != kYesButtonId && buttonId != kNoButtonId)
        return;
    if (dialogListener != nullptr)
        dialogListener->OnDialogButtonDown(id, buttonId);
}

void Dialog::OnButtonClick(int buttonId)
{
    if (buttonId != kYesButtonId && buttonId != kNoButtonId)
        return;
    result = buttonId;
    if (dialogListener != nullptr)
        dialogListener->OnDialogButtonClick(id, buttonId);
}

} // namespace Tandry
