// The text-drawing helpers of Widget: centred lines, colour-coded strings,
// wrapped paragraphs and numbers drawn from a digit strip.
#include "widgets/Widget.h"

#include "graphics/context/Font.h"
#include "graphics/context/Graphics.h"
#include "graphics/image/Image.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace Tandry {

namespace {

// Turns the context's colour codes on for one call and back afterwards.
class ColorCodesOn {
public:
    explicit ColorCodesOn(Graphics* g) : mGraphics(g), mWas(g->mWriteColoredString) { g->SetWriteColoredString(true); }
    ~ColorCodesOn() { mGraphics->SetWriteColoredString(mWas); }
    ColorCodesOn(const ColorCodesOn&) = delete;
    ColorCodesOn& operator=(const ColorCodesOn&) = delete;

private:
    Graphics* mGraphics;
    bool mWas;
};

int FontAscent(const Graphics* g)
{
    return g->mFont != nullptr ? g->mFont->GetAscent() : 0;
}

int FontHeight(const Graphics* g)
{
    return g->mFont != nullptr ? g->mFont->GetHeight() : 0;
}

} // namespace

Rect Widget::WriteCenteredLineShadowed(Graphics* g, int lineY, const std::wstring& text, const Color& color,
                                       const Color& shadowColor, const Point& offset)
{
    const int textWidth = g->GetStringWidth(text);
    const int left = (width - textWidth) / 2;
    g->SetColor(shadowColor);
    g->DrawString(text, left + offset.x, lineY + offset.y);
    g->SetColor(color);
    g->DrawString(text, left, lineY);
    return Rect(left + std::min(offset.x, 0), lineY + std::min(offset.y, 0) - FontAscent(g),
                textWidth + std::abs(offset.x), FontHeight(g) + std::abs(offset.y));
}

Rect Widget::WriteCenteredLine(Graphics* g, int lineY, const std::wstring& text)
{
    const int textWidth = g->GetStringWidth(text);
    const int left = (width - textWidth) / 2;
    g->DrawString(text, left, lineY);
    return Rect(left, lineY - FontAscent(g), textWidth, FontHeight(g));
}

int Widget::WriteString(Graphics* g, const std::wstring& text, int textX, int textY, int textWidth,
                        int justification, bool draw, int offset, int length)
{
    const ColorCodesOn codes(g);
    return g->DrawStringJustified(text, textX, textY, textWidth, justification, draw, offset, length, -1);
}

int Widget::WriteWordWrapped(Graphics* g, const Rect& rect, const std::wstring& text, int lineSpacing,
                             int justification)
{
    const ColorCodesOn codes(g);
    return g->DrawStringWrapped(text, rect, lineSpacing, justification);
}

int Widget::GetWordWrappedHeight(Graphics* g, int wrapWidth, const std::wstring& text, int lineSpacing)
{
    return Tandry::GetWordWrappedHeight(g, wrapWidth, text, lineSpacing);
}

int Widget::CountDigits(int number)
{
    int digits = 1;
    // Widened, so that the power past the largest int does not overflow.
    for (long long power = 10; power <= number; power *= 10)
        ++digits;
    return digits;
}

void Widget::WriteNumberFromStrip(Graphics* g, int number, int stripX, int stripY, Image* strip, int spacing)
{
    if (strip == nullptr)
        return;
    const int cellWidth = strip->mWidth / 10;
    const int digits = CountDigits(number);
    long long divisor = 1;
    for (int i = 1; i < digits; ++i)
        divisor *= 10;
    const long long value = std::llabs(static_cast<long long>(number));
    for (; divisor > 0; divisor /= 10) {
        const int digit = static_cast<int>((value / divisor) % 10);
        const std::unique_ptr<Graphics> cell(g->Clone());
        cell->ClipRect(stripX, stripY, cellWidth, strip->mHeight);
        cell->DrawImage(strip, stripX - digit * cellWidth, stripY);
        stripX += cellWidth + spacing;
    }
}

int GetWordWrappedHeight(Graphics* g, int wrapWidth, const std::wstring& text, int lineSpacing, int* maxWidth)
{
    Graphics measure(nullptr);
    measure.SetFont(g != nullptr ? g->mFont : nullptr);
    return measure.DrawStringWrapped(text, Rect(0, 0, wrapWidth, 0), lineSpacing, -1, maxWidth);
}

} // namespace Tandry
