#include "widgets/ButtonWidget.h"

#include "graphics/context/Font.h"
#include "graphics/context/Graphics.h"
#include "util/SaturatingTrunc.h"
#include "widgets/ButtonListener.h"
#include "widgets/SysFont.h"
#include "widgets/WidgetManager.h"

#include <algorithm>

namespace Tandry {

namespace {

constexpr int kFrameColors[6][3] = {
    {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {255, 255, 255}, {132, 132, 132}, {212, 212, 212},
};

} // namespace

ButtonWidget::ButtonWidget(int buttonId, ButtonListener* buttonListener) : id(buttonId), listener(buttonListener)
{
    hasAlpha = true;
    SetColors(kFrameColors, 6);
}

ButtonWidget::~ButtonWidget() = default;

void ButtonWidget::DrawButtonImage(Graphics* g, Image* image, const Rect& source, int imageX, int imageY)
{
    if (image == nullptr)
        return;
    if (source.width != 0)
        g->DrawImagePart(image, imageX, imageY, source);
    else
        g->DrawImage(image, imageX, imageY);
}

void ButtonWidget::SetFont(Font* newFont)
{
    if (mOwnedFont != nullptr && mOwnedFont.get() != newFont)
        mOwnedFont.reset();
    font = newFont;
}

bool ButtonWidget::IsButtonDown()
{
    return isDown && isOver && !disabled;
}

void ButtonWidget::Update()
{
    Widget::Update();
    if (isDown && isOver && listener != nullptr)
        listener->OnButtonHeld(id);
    if (isDown && !isOver)
        return;
    if (!isDown && !isOver && overAlpha > 0.0) {
        overAlpha = overAlphaFadeOutSpeed > 0.0 ? std::max(0.0, overAlpha - overAlphaFadeOutSpeed) : 0.0;
        MarkDirty();
    }
    if (isOver && overAlphaFadeInSpeed > 0.0 && overAlpha < 1.0) {
        overAlpha = std::min(1.0, overAlpha + overAlphaFadeInSpeed);
        MarkDirty();
    }
}

void ButtonWidget::SetDisabled(bool isDisabled)
{
    Widget::SetDisabled(isDisabled);
    if (disabledImage != nullptr || disabledRect.width != 0)
        MarkDirty();
}

bool ButtonWidget::HoverLooksTheSame() const
{
    return !isDown && overImage == nullptr && overRect.width == 0 && GetColor(kLabelColor) == GetColor(kLabelOverColor);
}

void ButtonWidget::MouseEnter()
{
    if (overAlphaFadeInSpeed == 0.0 && overAlpha > 0.0)
        overAlpha = 0.0;
    if (!HoverLooksTheSame())
        MarkDirty();
    if (listener != nullptr)
        listener->OnButtonHoverEnter(id);
}

void ButtonWidget::MouseLeave()
{
    if (overAlphaFadeOutSpeed == 0.0 && overAlpha > 0.0)
        overAlpha = 0.0;
    else if (overAlphaFadeOutSpeed > 0.0 && overAlpha == 0.0)
        overAlpha = 1.0;
    if (!HoverLooksTheSame())
        MarkDirty();
    if (listener != nullptr)
        listener->OnButtonHoverLeave(id);
}

void ButtonWidget::MouseMove(int mouseX, int mouseY)
{
    if (listener != nullptr)
        listener->OnButtonHoverMove(id, mouseX, mouseY);
}

void ButtonWidget::MouseDown(int /*mouseX*/, int /*mouseY*/, int button, int /*clickCount*/)
{
    // Only the left button shows the pressed look; any button is reported.
    isDown = button == 0;
    if (listener != nullptr)
        listener->OnButtonDown(id, button);
    MarkDirty();
}

void ButtonWidget::MouseUp(int /*mouseX*/, int /*mouseY*/, int button, int /*clickCount*/)
{
    const bool windowHasFocus = manager != nullptr && manager->windowHasFocus;
    if (((isOver && windowHasFocus) || clickEvenIfNotOver) && listener != nullptr)
        listener->OnButtonClick(id, button);
    MarkDirty();
}

void ButtonWidget::MakeLabelFontIfNeeded(int pointSize, int charset)
{
    if (font != nullptr || label.empty())
        return;
    mOwnedFont = std::make_unique<SysFont>("Arial Unicode MS", pointSize, charset);
    font = mOwnedFont.get();
}

bool ButtonWidget::ShowsPressed() const
{
    return (isDown && isOver && !disabled) != inverted;
}

int ButtonWidget::OverAlphaByte() const
{
    return std::clamp(SaturatingTrunc(overAlpha * 255.0), 0, 255);
}

void ButtonWidget::DrawLabel(Graphics* g, const Color& color, int labelX, int labelY)
{
    if (font != nullptr)
        font->DrawString(g, labelX, labelY, label, color, g->mClipRect, 1.0f, 1.0f, 0.0f, kAlignLeft,
                         kAlignBaseline);
}

bool ButtonWidget::HasLook(const Image* image, const Rect& source) const
{
    return image != nullptr || (source.width != 0 && buttonImage != nullptr);
}

void ButtonWidget::DrawLook(Graphics* g, Image* image, const Rect& source, int lookX, int lookY)
{
    DrawButtonImage(g, image != nullptr ? image : buttonImage, source, lookX, lookY);
}

void ButtonWidget::Draw(Graphics* g)
{
    if (noDraw)
        return;
    MakeLabelFontIfNeeded(10, 0);
    const bool pressed = ShowsPressed();

    int labelX = 0;
    int labelY = 0;
    if (font != nullptr) {
        const int labelWidth = font->StringWidth(label, 1.0f, 1.0f, 0.0f);
        if (labelJustify == 0)
            labelX = (width - labelWidth) / 2;
        else if (labelJustify == 1)
            labelX = width - labelWidth;
        const int ascent = font->GetAscent();
        labelY = (height + ascent - ascent / 6 - 1) / 2;
        g->SetFont(font);
    }

    if (buttonImage == nullptr && downImage == nullptr)
        DrawFrameLook(g, pressed, labelX, labelY);
    else
        DrawImageLook(g, pressed, labelX, labelY);
}

void ButtonWidget::DrawFrameLook(Graphics* g, bool pressed, int labelX, int labelY)
{
    if (!frameNoDraw) {
        g->SetColor(GetColor(kFaceColor));
        g->FillRect(0, 0, width, height);
        // Light above and left when raised, below and right when pressed.
        const int topLeft = pressed ? kDarkEdgeColor : kLightEdgeColor;
        const int bottomRight = pressed ? kLightEdgeColor : kDarkEdgeColor;
        g->SetColor(GetColor(topLeft));
        g->FillRect(0, 0, width - 1, 1);
        g->FillRect(0, 0, 1, height - 1);
        g->SetColor(GetColor(bottomRight));
        g->FillRect(0, height - 1, width, 1);
        g->FillRect(width - 1, 0, 1, height);
        g->SetColor(GetColor(kShadeColor));
        if (pressed) {
            g->FillRect(1, 1, width - 3, 1);
            g->FillRect(1, 1, 1, height - 3);
        } else {
            g->FillRect(1, height - 2, width - 2, 1);
            g->FillRect(width - 2, 1, 1, height - 2);
        }
    }
    const Color& color = GetColor(isOver ? kLabelOverColor : kLabelColor);
    if (pressed)
        DrawLabel(g, color, labelX + 1, labelY + 1);
    else
        DrawLabel(g, color, labelX, labelY);
}

void ButtonWidget::DrawImageLook(Graphics* g, bool pressed, int labelX, int labelY)
{
    if (pressed) {
        if (downImage != nullptr || downRect.width != 0)
            DrawLook(g, downImage, downRect, downOffset.x, downOffset.y);
        else if (HasLook(overImage, overRect))
            DrawLook(g, overImage, overRect, overOffset.x + 1, overOffset.y + 1);
        else if (HasLook(buttonImage, normalRect))
            DrawLook(g, buttonImage, normalRect, normalOffset.x + 1, normalOffset.y + 1);
        DrawLabel(g, GetColor(kLabelOverColor), labelX + 1, labelY + 1);
        return;
    }

    if (disabled && HasLook(disabledImage, disabledRect)) {
        DrawLook(g, disabledImage, disabledRect, disabledOffset.x, disabledOffset.y);
    } else if (overAlpha > 0.0 && HasLook(overImage, overRect)) {
        if (overAlpha < 1.0 && HasLook(buttonImage, normalRect))
            DrawLook(g, buttonImage, normalRect, normalOffset.x, normalOffset.y);
        g->SetColorizeImages(true);
        g->SetColor(Color(255, 255, 255, OverAlphaByte()));
        DrawLook(g, overImage, overRect, overOffset.x, overOffset.y);
        g->SetColorizeImages(false);
    } else if ((isOver || isDown) && HasLook(overImage, overRect)) {
        DrawLook(g, overImage, overRect, overOffset.x, overOffset.y);
    } else if (HasLook(buttonImage, normalRect)) {
        DrawLook(g, buttonImage, normalRect, normalOffset.x, normalOffset.y);
    }
    DrawLabel(g, GetColor(isOver ? kLabelOverColor : kLabelColor), labelX, labelY);
}

} // namespace Tandry
