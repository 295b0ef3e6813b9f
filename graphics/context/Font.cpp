#include "graphics/context/Font.h"

#include "graphics/context/GraphicsTrunc.h"
#include "util/StringUtils.h"

namespace Tandry {

void Font::AlignBox(FloatRect& box, int hAlign, int vAlign, float ascent)
{
    if (hAlign == kAlignRight)
        box.x -= box.width;
    else if (hAlign == kAlignCenter)
        box.x -= box.width / 2;
    if (vAlign == kAlignMiddle)
        box.y -= box.height / 2;
    else if (vAlign == kAlignBottom)
        box.y -= box.height;
    else if (vAlign == kAlignBaseline)
        box.y -= ascent;
}

bool Font::IsLoaded() const
{
    return mLoaded;
}

int Font::GetAscent() const
{
    return mAscent;
}

int Font::GetDescent() const
{
    return mHeight - mAscent;
}

int Font::GetHeight() const
{
    return mHeight;
}

int Font::GetLineSpacing() const
{
    return mHeight + mLineSpacingOffset;
}

int Font::GetLineSpacingOffset() const
{
    return mLineSpacingOffset;
}

int Font::CharWidth(wchar_t c) const
{
    return StringWidth(std::wstring(1, c), 1.0f, 1.0f, 0.0f);
}

int Font::CharWidth(char c) const
{
    return StringWidth(std::string(1, c), 1.0f, 1.0f, 0.0f);
}

int Font::CharWidthKern(wchar_t c, wchar_t) const
{
    return CharWidth(c);
}

int Font::CharWidthKern(char c, char) const
{
    return CharWidth(c);
}

int Font::StringWidth(const std::wstring& text, float scaleX, float scaleY, float spacing) const
{
    FloatRect box;
    MeasureText(box, text, 0.0f, 0.0f, scaleX, scaleY, spacing, kAlignLeft, kAlignTop);
    return TruncToInt(box.width);
}

int Font::StringWidth(const std::string& text, float scaleX, float scaleY, float spacing) const
{
    FloatRect box;
    MeasureText(box, text, 0.0f, 0.0f, scaleX, scaleY, spacing, kAlignLeft, kAlignTop);
    return TruncToInt(box.width);
}

void Font::MeasureText(FloatRect& out, const std::string& text, float x, float y, float scaleX, float scaleY,
                       float spacing, int hAlign, int vAlign) const
{
    MeasureText(out, NarrowToWideAnsi(text), x, y, scaleX, scaleY, spacing, hAlign, vAlign);
}

void Font::DrawString(Graphics* g, int x, int y, const std::string& text, const Color& color, const Rect& clip,
                      float scaleX, float scaleY, float spacing, int hAlign, int vAlign)
{
    DrawString(g, x, y, NarrowToWideAnsi(text), color, clip, scaleX, scaleY, spacing, hAlign, vAlign);
}

} // namespace Tandry
