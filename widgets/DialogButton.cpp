#include "widgets/DialogButton.h"

#include "graphics/context/Font.h"
#include "graphics/context/Graphics.h"

namespace Tandry {

namespace {

constexpr int kDialogColors[6][3] = {
    {255, 255, 255}, {255, 255, 255}, {0, 0, 0}, {255, 255, 255}, {132, 132, 132}, {212, 212, 212},
};

} // namespace

DialogButton::DialogButton(int buttonId, ButtonListener* buttonListener) : ButtonWidget(buttonId, buttonListener)
{
    handCursor = true;
    SetColors(kDialogColors, 6);
}

void DialogButton::DrawCell(Graphics* g)
{
    const Rect box(0, 0, width, height);
    if (disabled && disabledRect.width >= 1 && disabledRect.height >= 1) {
        g->DrawImageBoxPart(box, disabledRect, componentImage);
    } else if (IsButtonDown()) {
        g->DrawImageBoxPart(box, downRect, componentImage);
    } else if (overAlpha <= 0.0) {
        g->DrawImageBoxPart(box, isOver ? overRect : normalRect, componentImage);
    } else {
        if (overAlpha < 1.0)
            g->DrawImageBoxPart(box, normalRect, componentImage);
        g->SetColorizeImages(true);
        g->SetColor(Color(255, 255, 255, OverAlphaByte()));
        g->DrawImageBoxPart(box, overRect, componentImage);
        g->SetColorizeImages(false);
    }
}

void DialogButton::Draw(Graphics* g)
{
    if (componentImage == nullptr) {
        ButtonWidget::Draw(g);
        return;
    }
    MakeLabelFontIfNeeded(12, 1);
    const bool pressed = ShowsPressed();

    if (normalRect.width == 0) {
        if (pressed)
            g->Translate(translateX, translateY);
        g->DrawImageBox(Rect(0, 0, width, height), componentImage);
    } else {
        DrawCell(g);
        if (pressed)
            g->Translate(translateX, translateY);
    }

    if (font != nullptr) {
        const int labelWidth = font->StringWidth(label, 1.0f, 1.0f, 0.0f);
        const int ascent = font->GetAscent();
        const int labelX = textOffsetX + (width - labelWidth) / 2;
        const int labelY = textOffsetY + (ascent + height - ascent / 6 - font->GetLineSpacingOffset() - 1) / 2;
        DrawLabel(g, GetColor(isOver ? kLabelOverColor : kLabelColor), labelX, labelY);
    }

    if (pressed)
        g->Translate(-translateX, -translateY);
}

} // namespace Tandry
