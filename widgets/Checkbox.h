// A toggle that flips on the press of any mouse button and tells its
// CheckboxListener, drawn from one or two images or as a plain box with a
// cross. The options screen and the scene editor's property widgets use it.
#pragma once

#include "graphics/types/Color.h"
#include "graphics/types/Rect.h"
#include "widgets/Widget.h"

namespace Tandry {

class CheckboxListener;
class Image;

class Checkbox : public Widget {
public:
    // The listener may be null.
    explicit Checkbox(CheckboxListener* checkboxListener);
    ~Checkbox() override = default;

    virtual void SetChecked(bool isChecked, bool tellListener);
    virtual bool IsChecked();

    void Draw(Graphics* g) override;
    using Widget::MouseDown;
    void MouseDown(int mouseX, int mouseY, int button, int clickCount) override;

    CheckboxListener* listener;
    int id = 0;
    bool checked = false;
    // With a checkedRect, the one image holding both looks. Not owned.
    Image* uncheckedImage = nullptr;
    Image* checkedImage = nullptr;
    Rect checkedRect;
    Rect uncheckedRect;
    // The plain look.
    Color outlineColor{255, 255, 255, 255};
    Color backgroundColor{80, 80, 80, 255};
    Color checkColor{255, 255, 0, 255};
};

} // namespace Tandry
