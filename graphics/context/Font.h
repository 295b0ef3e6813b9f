// The text interface of the toolkit: metrics, widths, measuring and drawing a
// text through a drawing context. Widgets, dialogs, the drawing context and
// the game measure and draw text only through it; the bitmap and system fonts
// of the widget layer derive from it. It is declared here because the drawing
// context, below the widgets, calls it.
#pragma once

#include <string>

namespace Tandry {

class Color;
class Graphics;
struct Rect;

// The result of measuring: where the text's box lies and how large it is.
struct FloatRect {
    float x = 0.0f;
    float y = 0.0f;
    float width = 0.0f;
    float height = 0.0f;
};

// What the x handed to measuring and drawing is.
inline constexpr int kAlignLeft = 0;
inline constexpr int kAlignRight = 2;
inline constexpr int kAlignCenter = 6;
// What the y handed to measuring and drawing is.
inline constexpr int kAlignTop = 0;
inline constexpr int kAlignMiddle = 6;
inline constexpr int kAlignBottom = 8;
inline constexpr int kAlignBaseline = 24;

class Font {
public:
    Font() = default;
    Font(const Font&) = default;
    Font& operator=(const Font&) = default;
    virtual ~Font() = default;

    // An independent copy; the caller owns it.
    virtual Font* Duplicate() const = 0;

    virtual bool IsLoaded() const;
    // Distance from the top of a line to its baseline.
    virtual int GetAscent() const;
    // Height minus ascent.
    virtual int GetDescent() const;
    virtual int GetHeight() const;
    // Height plus the line-spacing offset: the usual distance between baselines.
    virtual int GetLineSpacing() const;
    // The extra space the font puts between lines.
    virtual int GetLineSpacingOffset() const;

    // The width of the one-character text.
    virtual int CharWidth(wchar_t c) const;
    virtual int CharWidth(char c) const;
    // Advance of c after prev; kerning is never applied here.
    virtual int CharWidthKern(wchar_t c, wchar_t prev) const;
    virtual int CharWidthKern(char c, char prev) const;

    // Width of the measured text, truncated toward zero; spacing is added
    // after every character before scaling.
    virtual int StringWidth(const std::wstring& text, float scaleX, float scaleY, float spacing) const;
    // Narrow text is Windows-1252.
    virtual int StringWidth(const std::string& text, float scaleX, float scaleY, float spacing) const;

    // The box the text takes when drawn at (x, y) with the alignment codes above.
    virtual void MeasureText(FloatRect& out, const std::wstring& text, float x, float y, float scaleX,
                             float scaleY, float spacing, int hAlign, int vAlign) const = 0;
    virtual void MeasureText(FloatRect& out, const std::string& text, float x, float y, float scaleX,
                             float scaleY, float spacing, int hAlign, int vAlign) const;

    // Draws the text through the context (the font adds the context's
    // translation), limited to clip. With vAlign 24, y is the baseline.
    virtual void DrawString(Graphics* g, int x, int y, const std::wstring& text, const Color& color,
                            const Rect& clip, float scaleX, float scaleY, float spacing, int hAlign,
                            int vAlign) = 0;
    virtual void DrawString(Graphics* g, int x, int y, const std::string& text, const Color& color,
                            const Rect& clip, float scaleX, float scaleY, float spacing, int hAlign,
                            int vAlign);

    // Moves a box measured at (x, y) so that (x, y) is the point the alignment
    // codes name; baseline alignment lifts it by ascent.
    static void AlignBox(FloatRect& box, int hAlign, int vAlign, float ascent);

    // Pixels from the top of a line to the baseline.
    int mAscent = 0;
    // Pixel height of a line of text.
    int mHeight = 0;
    // Added to the height to give the line spacing.
    int mLineSpacingOffset = 0;
    // The font is usable.
    bool mLoaded = false;
};

} // namespace Tandry
