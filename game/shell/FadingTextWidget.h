// The text behaviour the tooltip and the speech bubble share: a text laid out
// word-wrapped in "FONT_CORBEL", fading in, replaced by a new text only after
// fading out, and hiding itself when its show time has run out. The two
// widgets differ in their default show time, their box and their placement.
// The owning board drives both through Update (dt), not the manager's pass.
#pragma once

#include "widgets/Widget.h"

#include <string>

namespace Tandry {

class FadingTextWidget : public Widget {
public:
    // Texts wrap in this width.
    static constexpr int kWrapWidth = 300;

    // seconds -1: the widget's default time for the text. An empty text
    // hides (fades out and keeps the old text, invisible). A different text
    // waits for the current one to fade out, unless nothing is shown yet.
    void Show(const std::wstring& newText, float seconds);
    // dt in seconds; a whole fade takes a tenth of a second.
    void Update(float dt);
    using Widget::Update;
    // The waiting text becomes the shown one, fading in from 0, and the box
    // is fitted to it.
    void Layout();

    // The last Show had an empty text.
    bool hidden = false;
    // Opacity, 0 to 1.
    float fade = 0.0f;
    std::wstring text;
    // Waits for text to fade out.
    std::wstring pendingText;
    // Seconds left before the widget hides itself.
    float showTime = 0.0f;

protected:
    virtual float DefaultShowTime(const std::wstring& newText) const = 0;
    // Sizes (and places) the widget for the text just laid out, measured as
    // textWidth (the widest line) by textHeight.
    virtual void FitText(int textWidth, int textHeight) = 0;
    // Runs after the fade step of every update that has a text.
    virtual void Place(float /*fadeStep*/) {}
    // The text wrapped in wrapWidth at (textX, textY) in the light colour over
    // a dark halo at the four diagonal neighbours, all faded.
    void DrawFadedText(Graphics* g, int textX, int textY, int wrapWidth) const;
};

} // namespace Tandry
