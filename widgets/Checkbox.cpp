#include "widgets/Checkbox.h"

#include "graphics/context/Graphics.h"
#include "widgets/CheckboxListener.h"

namespace Tandry {

Checkbox::Checkbox(CheckboxListener* checkboxListener) : listener(checkboxListener)
{
    handCursor = true;
}

void Checkbox::SetChecked(bool isChecked, bool tellListener)
{
    checked = isChecked;
    if (tellListener && listener != nullptr)
        listener->CheckboxChecked(id, checked);
    MarkDirty();
}

bool Checkbox::IsChecked()
{
    return checked;
}

void Checkbox::MouseDown(int /*mouseX*/, int /*mouseY*/, int /*button*/, int /*clickCount*/)
{
    // The toggle happens on the press, for every button.
    checked = !checked;
    if (listener != nullptr)
        listener->CheckboxChecked(id, checked);
    MarkDirty();
}

void Checkbox::Draw(Graphics* g)
{
    if (checkedRect.width == 0 && checkedImage != nullptr && uncheckedImage != nullptr) {
        g->DrawImage(checked ? checkedImage : uncheckedImage, 0, 0);
        return;
    }
    if (checkedRect.width != 0 && uncheckedImage != nullptr) {
        g->DrawImagePart(uncheckedImage, 0, 0, checked ? checkedRect : uncheckedRect);
        return;
    }
    // One image without the other (or a cell without its image) has no look.
    if (checkedImage != nullptr || uncheckedImage != nullptr)
        return;
    g->SetColor(outlineColor);
    g->FillRect(0, 0, width, height);
    g->SetColor(backgroundColor);
    g->FillRect(1, 1, width - 2, height - 2);
    if (checked) {
        g->SetColor(checkColor);
        g->DrawLine(1, 1, width - 2, height - 2);
        g->DrawLine(width - 1, 1, 1, height - 2);
    }
}

} // namespace Tandry
