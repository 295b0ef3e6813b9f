// Word-wrapped layout against plain measuring of the same paragraph, with a
// font whose measuring is one addition per character: the layout should cost
// a small multiple of measuring, and the same multiple for a paragraph four
// times as long (no quadratic work per line or per character).
#include <benchmark/benchmark.h>

#include <string>

#include "graphics/context/Font.h"
#include "graphics/context/Graphics.h"
#include "graphics/image/Image.h"
#include "graphics/types/Color.h"
#include "graphics/types/Rect.h"

namespace {

using namespace Tandry;

// Widths from a table by character, as a glyph table gives them.
class SumFont : public Font {
public:
    SumFont()
    {
        for (int c = 0; c < 128; ++c)
            mWidths[c] = 5 + c % 7;
    }

    using Font::DrawString;
    using Font::MeasureText;
    using Font::StringWidth;

    Font* Duplicate() const override { return new SumFont(*this); }
    int GetAscent() const override { return 8; }
    int GetDescent() const override { return 2; }
    int GetLineSpacing() const override { return 10; }
    int GetLineSpacingOffset() const override { return 0; }
    int StringWidth(const std::wstring& text, float, float, float) const override
    {
        int width = 0;
        for (const wchar_t c : text)
            width += mWidths[c & 127];
        return width;
    }
    void MeasureText(FloatRect& out, const std::wstring& text, float x, float y, float, float, float, int,
                     int) const override
    {
        out = {x, y, static_cast<float>(StringWidth(text, 1.0f, 1.0f, 0.0f)), 10.0f};
    }
    void DrawString(Graphics*, int, int, const std::wstring&, const Color&, const Rect&, float, float, float, int,
                    int) override
    {
        ++draws;
    }

    long draws = 0;

private:
    int mWidths[128];
};

// Words of 1 to 9 letters, now and then a colour code or a line break.
std::wstring Paragraph(size_t length)
{
    std::wstring text;
    unsigned seed = 12345;
    while (text.size() < length) {
        seed = seed * 1103515245u + 12345u;
        const unsigned word = 1 + (seed >> 16) % 9;
        for (unsigned i = 0; i < word; ++i)
            text += static_cast<wchar_t>(L'a' + (seed >> (i + 3)) % 26);
        if ((seed >> 8) % 40 == 0)
            text += L"^FF8000x";
        text += (seed >> 12) % 60 == 0 ? L'\n' : L' ';
    }
    text.resize(length);
    return text;
}

void MeasureParagraph(benchmark::State& state)
{
    const std::wstring text = Paragraph(static_cast<size_t>(state.range(0)));
    SumFont font;
    Graphics g;
    g.SetFont(&font);
    for (auto _ : state)
        benchmark::DoNotOptimize(g.GetStringWidth(text));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(MeasureParagraph)->Arg(2000)->Arg(8000);

void WrapParagraph(benchmark::State& state)
{
    const std::wstring text = Paragraph(static_cast<size_t>(state.range(0)));
    SumFont font;
    // Every row is visible, so every line is drawn.
    Image page;
    page.mWidth = 400;
    page.mHeight = 1 << 20;
    Graphics g(&page);
    g.SetFont(&font);
    for (auto _ : state)
        benchmark::DoNotOptimize(g.DrawStringWrapped(text, Rect(0, 0, 400, 1 << 20)));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(WrapParagraph)->Arg(2000)->Arg(8000);

} // namespace
