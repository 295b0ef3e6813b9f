// The root of the widget tree and the one place where input enters the game's
// logic. The application creates one, feeds it the window's input in logical
// coordinates, runs its update and draw passes and sets its screen image and
// the rectangles of the mouse mapping.
#pragma once

#include "graphics/types/Rect.h"
#include "widgets/BaseModalEntry.h"
#include "widgets/FlagChange.h"
#include "widgets/WidgetContainer.h"

#include <array>
#include <list>

namespace Tandry {

class Image;

class WidgetManager : public WidgetContainer {
public:
    static constexpr int kKeyCount = 255;

    WidgetManager();
    ~WidgetManager() override = default;

    // Click counts: 1 / 2 left single / double, -1 / -2 right, 3 middle.
    virtual bool MouseDown(int mouseXPos, int mouseYPos, int clickCount);
    virtual bool MouseUp(int mouseXPos, int mouseYPos, int clickCount);
    virtual bool MouseMove(int mouseXPos, int mouseYPos);
    virtual bool MouseExit();
    virtual bool MouseWheel(int delta);
    virtual bool KeyDown(int key);
    virtual bool KeyUp(int key);
    virtual bool KeyChar(wchar_t ch);

    // The manager's dirty flag after the pass.
    bool UpdateFrame();
    void UpdateFrameDelta(float fraction);
    // Draws the dirty visible top-level widgets onto drawImage; whether any was drawn.
    bool DrawScreen();

    virtual void WindowGotFocus();
    virtual void WindowLostFocus();
    // Ends a capture: the held buttons are released.
    void ReleaseCapture();

    void AddBaseModal(Widget* widget, const FlagChange& flagChange);
    void RemoveBaseModal(Widget* widget);

    Image* drawImage = nullptr;
    bool windowHasFocus = true;
    Widget* focusWidget = nullptr;
    Widget* baseModalWidget = nullptr;
    FlagChange belowModalFlagChange;
    // Mouse and keyboard input off below the application's modal dialogs.
    FlagChange defaultBelowModalFlagChange{0, 0x30};
    std::list<BaseModalEntry> baseModalStack;
    Rect drawOffsetRect;
    Rect mouseRect;
    bool mouseIn = false;
    int mouseX = 0;
    int mouseY = 0;
    // Buttons held: 1 left, 2 right, 4 middle.
    int downButtons = 0;
    int actualDownButtons = 0;
    int lastInputUpdateCount = 0;
    std::array<bool, kKeyCount> keyDown{};

private:
    static int ButtonBit(int clickCount);
};

} // namespace Tandry
