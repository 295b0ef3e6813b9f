// A vertical or horizontal scroll bar: two arrow buttons and a proportional
// (or square) thumb over a position from 0 to maximum - page size. A press on
// the track pages, an arrow steps by 1, both repeat while held; the thumb can
// be dragged. It disables (and may hide) itself when there is nothing to
// scroll and reports every position change to a ScrollListener. The scene
// editor's property panels use it.
#pragma once

#include "widgets/ButtonListener.h"
#include "widgets/Widget.h"

namespace Tandry {

class ScrollbuttonWidget;
class ScrollListener;

class ScrollbarWidget : public Widget, public ButtonListener {
public:
    static constexpr int kTrackColor = 0;
    static constexpr int kPagingColor = 1;

    explicit ScrollbarWidget(ScrollListener* scrollListener);
    // Deletes every child, the arrow buttons among them.
    ~ScrollbarWidget() override;

    // True hides the bar and its buttons at once.
    virtual void SetInvisIfNoScroll(bool invis);
    virtual void SetMaxValue(double newMaxValue);
    virtual void SetPageSize(double newPageSize);
    // Reports the clamped value, twice when the clamp changed it.
    virtual void SetValue(double newValue);
    virtual void SetHorizontal(bool isHorizontal);
    // Moves and sizes the bar and lays out its arrow buttons at its ends.
    virtual void ResizeScrollbar(int newX, int newY, int newWidth, int newHeight);
    virtual bool AtBottom();
    virtual void GoToBottom();
    virtual void DrawThumb(Graphics* g, int thumbX, int thumbY, int thumbWidth, int thumbHeight);
    // The length between the arrow buttons.
    virtual int GetTrackSize();
    // 0 when there is nothing to scroll.
    virtual int GetThumbSize();
    // In the bar's coordinates along its axis.
    virtual int GetThumbPosition();
    // Into 0..maximum - page size; enables or disables (and shows or hides)
    // the bar and its buttons by whether there is anything to scroll.
    virtual void ClampValue();
    // Nothing when the thumb fills the track.
    virtual void SetThumbPosition(int position);
    // -1 before the thumb, 0 on it, 1 after it.
    virtual int ThumbCompare(int mouseX, int mouseY);

    void Update() override;
    void Draw(Graphics* g) override;
    using Widget::MouseDown;
    using Widget::MouseUp;
    void MouseDown(int mouseX, int mouseY, int button, int clickCount) override;
    void MouseUp(int mouseX, int mouseY, int button, int clickCount) override;
    void MouseDrag(int mouseX, int mouseY) override;
    using ButtonListener::OnButtonDown;
    void OnButtonDown(int buttonId) override;
    void OnButtonHeld(int buttonId) override;

    // Children of the bar, owned by it: up or left (id 0), down or right (id 1).
    ScrollbuttonWidget* upButton;
    ScrollbuttonWidget* downButton;
    bool invisIfNoScroll = false;
    int id = 0;
    double value = 0.0;
    // The size of the content, and of its visible part.
    double maxValue = 0.0;
    double pageSize = 0.0;
    bool horizontal = false;
    bool pressedOnThumb = false;
    // Where the thumb and the mouse were when the drag started.
    int mouseDownThumbPos = 0;
    int mouseDownX = 0;
    int mouseDownY = 0;
    // 0 idle, 1 paging backwards, 2 paging forwards.
    int updateMode = 0;
    // Update counters of the track's and the arrows' repeat.
    int updateAcc = 0;
    int buttonAcc = 0;
    int lastMouseX = 0;
    int lastMouseY = 0;
    ScrollListener* listener;
    // A square thumb as thick as the bar instead of a proportional one.
    bool fixedThumbSize = false;

private:
    // Tells the listener, when there is one.
    void ReportPosition();
    // The arrow's step: -1 for id 0, 1 for id 1, 0 for other ids.
    static int StepOf(int buttonId);
};

} // namespace Tandry
