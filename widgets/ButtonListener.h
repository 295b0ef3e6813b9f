// What a button tells its owner: presses, clicks, holding and hovering. Every
// operation does nothing by default, so an owner overrides only what it needs;
// the application object receives the buttons of its dialogs this way.
#pragma once

namespace Tandry {

class ButtonListener {
public:
    virtual ~ButtonListener() = default;

    // The mouse-button forms (0 left, 1 right, 2 middle) fall back on the plain ones.
    virtual void OnButtonDown(int id, int button);
    virtual void OnButtonDown(int id);
    virtual void OnButtonClick(int id, int button);
    virtual void OnButtonClick(int id);
    virtual void OnButtonHeld(int id);
    virtual void OnButtonHoverEnter(int id);
    virtual void OnButtonHoverLeave(int id);
    virtual void OnButtonHoverMove(int id, int x, int y);
};

} // namespace Tandry
