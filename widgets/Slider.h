// A value from 0 to 1 chosen by dragging a thumb along a track, horizontal or
// vertical; a press beside the thumb jumps to that place. It reports to a
// SliderListener on each drag step and on every release, and shows the drag
// cursor over the thumb. The options screen's sliders build on it.
#pragma once

#include "widgets/Widget.h"

namespace Tandry {

class Image;
class SliderListener;

class Slider : public Widget {
public:
    // The images are not owned; either may be null.
    Slider(Image* track, Image* thumb, int sliderId, SliderListener* sliderListener);
    ~Slider() override = default;

    // Clamped to 0..1 (NaN gives 0); the listener is not told.
    virtual void SetValue(double newValue);
    // Its pictures leave what lies beneath showing: always true.
    virtual bool HasTransparentParts();

    void Draw(Graphics* g) override;
    void MouseLeave() override;
    void MouseMove(int mouseX, int mouseY) override;
    using Widget::MouseDown;
    using Widget::MouseUp;
    // Any button.
    void MouseDown(int mouseX, int mouseY, int clickCount) override;
    void MouseUp(int mouseX, int mouseY) override;
    void MouseDrag(int mouseX, int mouseY) override;

    SliderListener* listener;
    double value = 0.0;
    int id;
    // Three cells (start cap, middle, end cap) side by side when horizontal,
    // stacked when vertical.
    Image* trackImage;
    Image* thumbImage;
    bool dragging = false;
    // Where on the thumb the drag started.
    int relX = 0;
    int relY = 0;
    bool horizontal = true;

private:
    // Along the slider's axis.
    int Length() const;
    int ThumbLength() const;
    int ThumbPosition() const;
    int Along(int mouseX, int mouseY) const;
    bool OnThumb(int coordinate) const;
    // 0 arrow, 2 drag.
    void ShowCursor(int kind);
    void DrawTrack(Graphics* g);
};

} // namespace Tandry
