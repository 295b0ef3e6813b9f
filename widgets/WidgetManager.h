// The root of the widget tree and the one place where input enters the game's
// logic. It picks the widget for each mouse and key event (hit testing,
// capture, focus, modal layers), keeps the over, captured and focus widgets
// sound when widgets vanish, and runs the update and draw passes. The
// application creates one with itself as host, feeds it the window's input in
// logical coordinates and sets its screen image and mouse-mapping rectangles.
#pragma once

#include "graphics/types/Rect.h"
#include "widgets/BaseModalEntry.h"
#include "widgets/FlagChange.h"
#include "widgets/WidgetContainer.h"
#include "widgets/WidgetFlagState.h"

#include <array>
#include <climits>
#include <list>
#include <utility>
#include <vector>

namespace Tandry {

class Image;
class WidgetHost;

class WidgetManager : public WidgetContainer {
public:
    static constexpr int kKeyCount = 255;
    static constexpr int kNoOverlay = INT_MAX;

    // host may be null (tests without an application).
    explicit WidgetManager(WidgetHost* host);
    ~WidgetManager() override = default;

    void DisableWidget(Widget* widget) override;
    // Null, or a widget of another tree, leaves no focus widget.
    void SetFocus(Widget* widget) override;

    int GetWidgetFlags() const;
    // The flag words a pass starts from.
    WidgetFlagState MakeFlagState() const;

    // x, y in the container's coordinates; local gets the point in the
    // found widget's own coordinates.
    Widget* HitTestTree(WidgetContainer* container, int hitX, int hitY, int flags, bool* found, int* localX,
                        int* localY);
    Widget* GetWidgetAt(int hitX, int hitY, int* localX, int* localY);
    Widget* GetEnabledWidgetAt(int hitX, int hitY, int* localX, int* localY);
    // Enter, leave and move for the widget under the point.
    void MousePosition(int hitX, int hitY);
    void SendMouseEnter(Widget* widget);
    void SendMouseLeave(Widget* widget);

    // Click counts: 1 / 2 left single / double, -1 / -2 right, 3 middle.
    virtual bool MouseDown(int mouseXPos, int mouseYPos, int clickCount);
    virtual bool MouseUp(int mouseXPos, int mouseYPos, int clickCount);
    virtual bool MouseMove(int mouseXPos, int mouseYPos);
    virtual bool MouseDrag(int mouseXPos, int mouseYPos);
    virtual bool MouseExit();
    virtual bool MouseWheel(int delta);
    virtual bool KeyDown(int key);
    virtual bool KeyUp(int key);
    virtual bool KeyChar(wchar_t ch);

    // Mouse-ups of the buttons (bits 1, 2, 4) at the last mouse position.
    void SendMouseUps(Widget* widget, int buttons);
    // Ends a capture: the held buttons are released.
    virtual void ReleaseCapture();
    virtual void WindowGotFocus();
    virtual void WindowLostFocus();
    // After the tree changed under the mouse.
    void RecheckMouse();
    // Forgets the popup widget and takes it out of the tree; never deletes it.
    void RemovePopupWidget();
    // After a subtree left the tree: drops, without telling anyone, every
    // pointer into it that a callback made while it was being detached.
    void ForgetSubtree(const Widget* root);

    void SetBaseModal(const FlagChange& change, Widget* widget);
    void AddBaseModal(Widget* widget, const FlagChange& change);
    void RemoveBaseModal(Widget* widget);

    // The manager's dirty flag after the pass.
    bool UpdateFrame();
    void UpdateFrameDelta(float fraction);
    // Draws the dirty visible top-level widgets onto drawImage; whether any
    // was drawn. Without a screen image nothing is drawn and nothing cleared.
    bool DrawScreen();

    void QueueDeferredOverlay(Widget* widget, int overlayPriority);
    // Draws the queued overlays in ascending priority, up to below limit.
    void FlushDeferredOverlays(int limit);

    Widget* defaultTab = nullptr;
    Graphics* currentGraphics = nullptr;
    WidgetHost* app;
    Image* drawImage = nullptr;
    Widget* popupWidget = nullptr;
    std::vector<std::pair<Widget*, int>> deferredOverlays;
    int lowestOverlayPriority = kNoOverlay;
    bool windowHasFocus = true;
    Widget* focusWidget = nullptr;
    // Holds the capture.
    Widget* lastDownWidget = nullptr;
    Widget* overWidget = nullptr;
    Widget* baseModalWidget = nullptr;
    FlagChange noFocusFlagChange;
    FlagChange belowModalFlagChange;
    // Mouse and keyboard input off below the application's modal dialogs.
    FlagChange defaultBelowModalFlagChange{0, 0x30};
    std::list<BaseModalEntry> baseModalStack;
    Rect drawOffsetRect;
    Rect mouseRect;
    bool mouseIn = false;
    int mouseX = 0;
    int mouseY = 0;
    // Buttons held on the captured widget: 1 left, 2 right, 4 middle.
    int downButtons = 0;
    int actualDownButtons = 0;
    int lastInputUpdateCount = 0;
    std::array<bool, kKeyCount> keyDown{};
    // 1 left, -1 right, 2 middle.
    int lastDownButtonId = 0;
    int widgetFlags = 0x3D;
    Widget* cursorWidget = nullptr;

private:
    bool IsAttached(const Widget* widget) const;
    // The key's held state, false for codes outside the table.
    bool KeyHeld(int key) const;
    // Draws widget with screen translated to its place and the display's flags.
    void DrawTopLevel(Widget* widget, WidgetFlagState* state, const Graphics& screen);
};

} // namespace Tandry
