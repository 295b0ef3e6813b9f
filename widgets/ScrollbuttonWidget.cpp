#include "widgets/ScrollbuttonWidget.h"

#include "graphics/context/Graphics.h"

namespace Tandry {

namespace {

const Color kFace(212, 212, 212, 255);
const Color kShade(132, 132, 132, 255);
const Color kLight(255, 255, 255, 255);
const Color kDark(0, 0, 0, 255);

} // namespace

ScrollbuttonWidget::ScrollbuttonWidget(int buttonId, ButtonListener* buttonListener)
    : ButtonWidget(buttonId, buttonListener)
{
}

void ScrollbuttonWidget::Draw(Graphics* g)
{
    if (drawAsButton) {
        ButtonWidget::Draw(g);
        return;
    }
    g->SetColor(kFace);
    g->FillRect(0, 0, width, height);
    int shift = 0;
    if (IsButtonDown()) {
        g->SetColor(kShade);
        g->DrawRect(0, 0, width - 1, height - 1);
        shift = 1;
    } else {
        g->SetColor(kLight);
        g->FillRect(1, 1, width - 2, 1);
        g->FillRect(1, 1, 1, height - 2);
        g->SetColor(kDark);
        g->FillRect(0, height - 1, width, 1);
        g->FillRect(width - 1, 0, 1, height);
        g->SetColor(kShade);
        g->FillRect(1, height - 2, width - 2, 1);
        g->FillRect(width - 2, 1, 1, height - 2);
    }
    DrawArrow(g, shift);
}

void ScrollbuttonWidget::DrawArrow(Graphics* g, int shift)
{
    g->SetColor(disabled ? kShade : kDark);
    // Strips of 1, 3, 5 and 7 pixels; the widest one is the arrow's back.
    for (int k = 0; k < 4; ++k) {
        const int length = 2 * k + 1;
        if (!horizontal && arrowType != 3 && arrowType != 4) {
            const bool down = id != 0 && arrowType != 1;
            const int row = shift + (height - 4) / 2 + (down ? 3 - k : k);
            g->FillRect(shift + width / 2 - k - 1, row, length, 1);
        } else {
            const bool right = id != 0 && arrowType != 3;
            const int column = shift + (width - 4) / 2 + (right ? 3 - k : k);
            g->FillRect(column, shift + height / 2 - k - 1, 1, length);
        }
    }
}

} // namespace Tandry
