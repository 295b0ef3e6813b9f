// The push button of the toolkit: drawn from up to four looks (images, or
// source rectangles of the normal image) or as a bevelled frame, with an
// over-highlight that fades in and out, reporting presses, clicks, holding and
// hovering to a ButtonListener. Dialog buttons, scroll-bar arrows and the
// game's own buttons derive from it, which is why Widget is a virtual base.
#pragma once

#include "graphics/types/Point.h"
#include "graphics/types/Rect.h"
#include "widgets/Widget.h"

#include <memory>
#include <string>

namespace Tandry {

class ButtonListener;
class Font;
class Image;

class ButtonWidget : public virtual Widget {
public:
    // The frame look's colours.
    static constexpr int kLabelColor = 0;
    static constexpr int kLabelOverColor = 1;
    static constexpr int kDarkEdgeColor = 2;
    static constexpr int kLightEdgeColor = 3;
    static constexpr int kShadeColor = 4;
    static constexpr int kFaceColor = 5;

    ButtonWidget(int buttonId, ButtonListener* buttonListener);
    ~ButtonWidget() override;

    // The part of image given by source, or the whole image when the
    // source's width is 0; nothing without an image.
    virtual void DrawButtonImage(Graphics* g, Image* image, const Rect& source, int imageX, int imageY);
    // The button does not take ownership; a label font it made itself is
    // deleted when replaced.
    virtual void SetFont(Font* newFont);
    virtual bool IsButtonDown();

    void Update() override;
    void Draw(Graphics* g) override;
    void SetDisabled(bool isDisabled) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void MouseMove(int mouseX, int mouseY) override;
    using Widget::MouseDown;
    using Widget::MouseUp;
    void MouseDown(int mouseX, int mouseY, int button, int clickCount) override;
    void MouseUp(int mouseX, int mouseY, int button, int clickCount) override;

    int id;
    std::wstring label;
    // 0 centred, 1 right-aligned, anything else left-aligned.
    int labelJustify = 0;
    // Not owned, unless the button made it itself for its label.
    Font* font = nullptr;
    Image* buttonImage = nullptr;
    Image* overImage = nullptr;
    Image* downImage = nullptr;
    Image* disabledImage = nullptr;
    // Width 0: the whole image. A look with a rectangle but no image of its
    // own is cut from buttonImage.
    Rect normalRect;
    Rect overRect;
    Rect downRect;
    Rect disabledRect;
    Point normalOffset;
    Point overOffset;
    Point disabledOffset;
    Point downOffset;
    // Swaps the pressed and unpressed looks.
    bool inverted = false;
    bool noDraw = false;
    // The frame look draws only the label.
    bool frameNoDraw = false;
    ButtonListener* listener;
    // Strength of the over look, 0 to 1.
    double overAlpha = 0.0;
    // Per update; 0 jumps at once.
    double overAlphaFadeOutSpeed = 0.0;
    double overAlphaFadeInSpeed = 0.0;
    bool clickEvenIfNotOver = false;

protected:
    // Makes the label font when none is set and there is a label to draw.
    void MakeLabelFontIfNeeded(int pointSize, int charset);
    // isDown, isOver and not disabled, swapped by inverted.
    bool ShowsPressed() const;
    // overAlpha as a colour's alpha: times 255, truncated, within 0..255.
    int OverAlphaByte() const;
    // The label in the colour at (labelX, labelY), on its baseline.
    void DrawLabel(Graphics* g, const Color& color, int labelX, int labelY);

private:
    // Whether the look has something to draw.
    bool HasLook(const Image* image, const Rect& source) const;
    void DrawLook(Graphics* g, Image* image, const Rect& source, int lookX, int lookY);
    void DrawFrameLook(Graphics* g, bool pressed, int labelX, int labelY);
    void DrawImageLook(Graphics* g, bool pressed, int labelX, int labelY);
    // Entering or leaving changes nothing that is drawn.
    bool HoverLooksTheSame() const;

    std::unique_ptr<Font> mOwnedFont;
};

} // namespace Tandry
