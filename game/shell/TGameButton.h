// The game's image button: a normal and an over picture taken from a GUI
// layout, hit only where its picture is not transparent, playing the UI
// sounds on enter and press, with an optional additive highlight colour.
// Menu entries, HUD buttons and dialog buttons are all of this kind.
#pragma once

#include "graphics/types/Color.h"
#include "graphics/types/Point.h"
#include "widgets/ButtonWidget.h"

namespace Tandry {

class MemoryImage;
struct GuiLayoutEntry;

class TGameButton : public ButtonWidget {
public:
    TGameButton(int buttonId, ButtonListener* buttonListener);
    ~TGameButton() override;

    virtual bool PlaysSounds();
    // Either entry may be null; an entry without a loaded picture counts as
    // absent. Both taken entries are hidden in their layout.
    virtual void SetImages(GuiLayoutEntry* normal, GuiLayoutEntry* over);
    // The same set-up from two pictures and their top-left points.
    void SetImagesAt(MemoryImage* normal, const Point& normalAt, MemoryImage* over, const Point& overAt);

    void Draw(Graphics* g) override;
    void MouseEnter() override;
    using ButtonWidget::MouseDown;
    // Only the left button presses and clicks a game button; the others do
    // nothing but leave it unpressed.
    void MouseDown(int mouseX, int mouseY, int button, int clickCount) override;
    using ButtonWidget::MouseUp;
    void MouseUp(int mouseX, int mouseY, int button, int clickCount) override;
    bool HitTestPoint(int localX, int localY) override;

    // Not owned: they belong to the layout the button was built from.
    MemoryImage* normalPicture = nullptr;
    MemoryImage* overPicture = nullptr;
    Color highlightColor{0, 0, 0, 255};
    bool playsSounds = true;
};

} // namespace Tandry
