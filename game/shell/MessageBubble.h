// The HUD's speech bubble, which carries the player character's lines. It
// grows upwards from a fixed corner taken from the HUD layout, draws its
// picture as a nine-part box around the text, and a click on the picture
// dismisses it. The game board owns it and calls its Update (dt).
#pragma once

#include "game/shell/FadingTextWidget.h"
#include "graphics/types/Point.h"

namespace Tandry {

class GuiLayout;
class MemoryImage;

class MessageBubble : public FadingTextWidget {
public:
    // The box's room around the text.
    static constexpr int kInsetLeft = 15;
    static constexpr int kInsetTop = 10;
    static constexpr int kInsetRight = 10;
    static constexpr int kInsetBottom = 35;

    // Takes the layout's "bubble" entry, which it then draws itself; the
    // entry's bottom-left corner becomes the anchor. Without the entry or its
    // picture the bubble shows only its text and takes no clicks.
    void Init(GuiLayout* layout);

    void Draw(Graphics* g) override;
    // Any button dismisses the bubble.
    void MouseDown(int mouseX, int mouseY, int button, int clickCount) override;
    using Widget::MouseDown;
    // On the picture where its alpha is above 10, while the bubble shows.
    bool HitTestPoint(int localX, int localY) override;

    // Not owned.
    MemoryImage* frameImage = nullptr;
    // The bubble's bottom-left corner.
    Point anchor;

protected:
    // The reading time of the text.
    float DefaultShowTime(const std::wstring& newText) const override;
    void FitText(int textWidth, int textHeight) override;
};

} // namespace Tandry
