// The text interface of the toolkit: what the drawing context asks of a font
// (metrics, widths, drawing a line of text through a context). The bitmap and
// system fonts of the widget layer derive from it; it is declared here because
// the drawing context, below the widgets, calls it.
#pragma once

#include <string>

namespace Tandry {

class Color;
class Graphics;
struct Rect;

class Font {
public:
    Font() = default;
    Font(const Font&) = default;
    Font& operator=(const Font&) = default;
    virtual ~Font() = default;

    // Distance from the top of a line to its baseline.
    virtual int GetAscent() const = 0;
    // Height minus ascent.
    virtual int GetDescent() const = 0;
    // Height plus the line-spacing offset: the usual distance between baselines.
    virtual int GetLineSpacing() const = 0;
    // The extra space the font puts between lines.
    virtual int GetLineSpacingOffset() const = 0;

    // Advance of c after prev. Without kerning the previous character does not
    // matter: the width of the one-character text.
    virtual int CharWidthKern(wchar_t c, wchar_t prev) const;

    // Width of the text in pixels; spacing is added after every character
    // before scaling.
    virtual int StringWidth(const std::wstring& text, float scaleX, float scaleY, float spacing) const = 0;

    // Draws the text through the context (the font adds the context's
    // translation), limited to clip. With vAlign 24, y is the baseline.
    virtual void DrawString(Graphics* g, int x, int y, const std::wstring& text, const Color& color,
                            const Rect& clip, float scaleX, float scaleY, float spacing, int hAlign,
                            int vAlign) = 0;
};

} // namespace Tandry
