#include "widgets/ScrollbarWidget.h"

#include "graphics/context/Graphics.h"
#include "util/SaturatingTrunc.h"
#include "widgets/ScrollListener.h"
#include "widgets/ScrollbuttonWidget.h"

#include <algorithm>
#include <cmath>

namespace Tandry {

namespace {

constexpr int kBarColors[2][3] = {{232, 232, 232}, {48, 48, 48}};
// The track repeats first after this many updates, then every kTrackRepeat.
constexpr int kRepeatDelay = 25;
constexpr int kTrackRepeat = 5;

const Color kThumbFace(212, 212, 212, 255);
const Color kThumbLight(255, 255, 255, 255);
const Color kThumbDark(0, 0, 0, 255);
const Color kThumbShade(132, 132, 132, 255);

} // namespace

ScrollbarWidget::ScrollbarWidget(ScrollListener* scrollListener)
    : upButton(new ScrollbuttonWidget(0, this)), downButton(new ScrollbuttonWidget(1, this)),
      listener(scrollListener)
{
    SetDisabled(true);
    upButton->SetDisabled(true);
    downButton->SetDisabled(true);
    AddWidget(upButton);
    AddWidget(downButton);
    SetColors(kBarColors, 2);
}

ScrollbarWidget::~ScrollbarWidget()
{
    RemoveAllWidgets(true, false);
}

void ScrollbarWidget::ReportPosition()
{
    if (listener != nullptr)
        listener->ScrollPosition(id, value);
}

void ScrollbarWidget::SetInvisIfNoScroll(bool invis)
{
    invisIfNoScroll = invis;
    if (invisIfNoScroll) {
        SetVisible(false);
        upButton->SetVisible(false);
        downButton->SetVisible(false);
    }
}

void ScrollbarWidget::SetMaxValue(double newMaxValue)
{
    maxValue = newMaxValue;
    ClampValue();
    MarkDirty();
}

void ScrollbarWidget::SetPageSize(double newPageSize)
{
    pageSize = newPageSize;
    ClampValue();
    MarkDirty();
}

void ScrollbarWidget::SetValue(double newValue)
{
    value = newValue;
    ClampValue();
    ReportPosition();
    MarkDirty();
}

void ScrollbarWidget::SetHorizontal(bool isHorizontal)
{
    horizontal = isHorizontal;
    upButton->horizontal = isHorizontal;
    downButton->horizontal = isHorizontal;
}

void ScrollbarWidget::ResizeScrollbar(int newX, int newY, int newWidth, int newHeight)
{
    Resize(newX, newY, newWidth, newHeight);
    if (horizontal) {
        upButton->Resize(0, 0, newHeight, newHeight);
        downButton->Resize(SaturatingTrunc(static_cast<double>(newWidth) - newHeight), 0, newHeight, newHeight);
    } else {
        upButton->Resize(0, 0, newWidth, newWidth);
        downButton->Resize(0, SaturatingTrunc(static_cast<double>(newHeight) - newWidth), newWidth, newWidth);
    }
}

bool ScrollbarWidget::AtBottom()
{
    return maxValue - pageSize - value <= 1.0;
}

void ScrollbarWidget::GoToBottom()
{
    value = maxValue - pageSize;
    ClampValue();
    SetValue(value);
}

void ScrollbarWidget::DrawThumb(Graphics* g, int thumbX, int thumbY, int thumbWidth, int thumbHeight)
{
    // In doubles: a thumb at the end of the int range must not overflow its strips.
    const double left = thumbX;
    const double top = thumbY;
    const double w = thumbWidth;
    const double h = thumbHeight;
    auto strip = [g](double stripX, double stripY, double stripWidth, double stripHeight) {
        g->FillRect(SaturatingTrunc(stripX), SaturatingTrunc(stripY), SaturatingTrunc(stripWidth),
                    SaturatingTrunc(stripHeight));
    };
    g->SetColor(kThumbFace);
    strip(left, top, w, h);
    g->SetColor(kThumbLight);
    strip(left + 1, top + 1, w - 2, 1);
    strip(left + 1, top + 1, 1, h - 2);
    g->SetColor(kThumbDark);
    strip(left, top + h - 1, w, 1);
    strip(left + w - 1, top, 1, h);
    g->SetColor(kThumbShade);
    strip(left + 1, top + h - 2, w - 2, 1);
    strip(left + w - 2, top + 1, 1, h - 2);
}

int ScrollbarWidget::GetTrackSize()
{
    return SaturatingTrunc(static_cast<double>(horizontal ? width : height) - 2.0 * upButton->width);
}

int ScrollbarWidget::GetThumbSize()
{
    if (!(maxValue > pageSize))
        return 0;
    if (fixedThumbSize)
        return horizontal ? height : width;
    return std::max(8, SaturatingTrunc(GetTrackSize() * pageSize / maxValue + 0.5));
}

int ScrollbarWidget::GetThumbPosition()
{
    const int upWidth = upButton->width;
    if (!(maxValue > pageSize))
        return upWidth;
    const double free = static_cast<double>(GetTrackSize()) - GetThumbSize();
    return SaturatingTrunc(static_cast<double>(SaturatingTrunc(free * value / (maxValue - pageSize) + 0.5)) +
                           upWidth);
}

void ScrollbarWidget::ClampValue()
{
    const double before = value;
    if (value > maxValue - pageSize)
        value = maxValue - pageSize;
    // Below 0, and NaN from a NaN value or limits, which no comparison catches.
    if (value < 0.0 || std::isnan(value))
        value = 0.0;

    const bool canScroll = maxValue > pageSize;
    SetDisabled(!canScroll);
    upButton->SetDisabled(!canScroll);
    downButton->SetDisabled(!canScroll);
    if (invisIfNoScroll) {
        SetVisible(canScroll);
        upButton->SetVisible(canScroll);
        downButton->SetVisible(canScroll);
    }
    if (!(value == before))
        ReportPosition();
}

void ScrollbarWidget::SetThumbPosition(int position)
{
    // A thumb that fills the track has nowhere to go.
    const double free = static_cast<double>(GetTrackSize()) - GetThumbSize();
    if (free <= 0.0)
        return;
    SetValue((static_cast<double>(position) - upButton->width) * (maxValue - pageSize) / free);
}

int ScrollbarWidget::ThumbCompare(int mouseX, int mouseY)
{
    const double along = horizontal ? mouseX : mouseY;
    const int position = GetThumbPosition();
    if (along < position)
        return -1;
    if (along >= static_cast<double>(position) + GetThumbSize())
        return 1;
    return 0;
}

void ScrollbarWidget::MouseDown(int mouseX, int mouseY, int /*button*/, int /*clickCount*/)
{
    if (!disabled) {
        switch (ThumbCompare(mouseX, mouseY)) {
        case -1:
            SetValue(value - pageSize);
            updateMode = 1;
            updateAcc = 0;
            break;
        case 0:
            pressedOnThumb = true;
            mouseDownThumbPos = GetThumbPosition();
            mouseDownX = mouseX;
            mouseDownY = mouseY;
            break;
        default:
            SetValue(value + pageSize);
            updateMode = 2;
            updateAcc = 0;
            break;
        }
    }
    lastMouseX = mouseX;
    lastMouseY = mouseY;
}

void ScrollbarWidget::MouseDrag(int mouseX, int mouseY)
{
    if (pressedOnThumb) {
        const double moved = horizontal ? static_cast<double>(mouseX) - mouseDownX
                                        : static_cast<double>(mouseY) - mouseDownY;
        SetThumbPosition(SaturatingTrunc(mouseDownThumbPos + moved));
    }
    lastMouseX = mouseX;
    lastMouseY = mouseY;
}

void ScrollbarWidget::MouseUp(int /*mouseX*/, int /*mouseY*/, int /*button*/, int /*clickCount*/)
{
    updateMode = 0;
    pressedOnThumb = false;
    MarkDirty();
}

void ScrollbarWidget::Update()
{
    Widget::Update();
    if (updateMode != 1 && updateMode != 2)
        return;
    const int towards = updateMode == 1 ? -1 : 1;
    if (ThumbCompare(lastMouseX, lastMouseY) != towards) {
        // The thumb has reached the mouse.
        updateMode = 0;
        MarkDirty();
        return;
    }
    if (++updateAcc >= kRepeatDelay) {
        SetValue(value + towards * pageSize);
        updateAcc = kRepeatDelay - kTrackRepeat;
    }
}

int ScrollbarWidget::StepOf(int buttonId)
{
    if (buttonId == 0)
        return -1;
    return buttonId == 1 ? 1 : 0;
}

void ScrollbarWidget::OnButtonDown(int buttonId)
{
    if (StepOf(buttonId) == 0)
        return;
    buttonAcc = 0;
    SetValue(value + StepOf(buttonId));
}

void ScrollbarWidget::OnButtonHeld(int buttonId)
{
    if (StepOf(buttonId) == 0)
        return;
    // After the first delay, a step on every update.
    if (++buttonAcc >= kRepeatDelay) {
        SetValue(value + StepOf(buttonId));
        buttonAcc = kRepeatDelay - 1;
    }
}

void ScrollbarWidget::Draw(Graphics* g)
{
    const int size = GetThumbSize();
    const int position = GetThumbPosition();
    const int after = SaturatingTrunc(static_cast<double>(size) + position);
    const Color& before = GetColor(updateMode == 1 ? kPagingColor : kTrackColor);
    const Color& beyond = GetColor(updateMode == 2 ? kPagingColor : kTrackColor);
    const int rest = SaturatingTrunc(static_cast<double>(horizontal ? width : height) - after);
    if (horizontal) {
        g->SetColor(before);
        g->FillRect(0, 0, position, height);
        if (size > 0)
            DrawThumb(g, position, 0, size, height);
        g->SetColor(beyond);
        g->FillRect(after, 0, rest, height);
    } else {
        g->SetColor(before);
        g->FillRect(0, 0, width, position);
        if (size > 0)
            DrawThumb(g, 0, position, width, size);
        g->SetColor(beyond);
        g->FillRect(0, after, width, rest);
    }
}

} // namespace Tandry
