// Lays out random texts rich in carets, line breaks and spaces with the
// justified and the word-wrapped draw, through a font of fixed metrics, and
// checks that every drawn piece comes from the text, that widths and heights
// stay within what the text can give, and that the wrapped draw leaves the
// colour as it found it.
#include <cstddef>
#include <cstdint>
#include <string>

#include "graphics/context/Graphics.h"
#include "tests/fuzz/FuzzBytes.h"
#include "tests/graphics/context/FakeFont.h"
#include "tests/graphics/context/RecordingImage.h"

namespace {

using namespace Tandry;

// Characters the codes and the layout care about, and a few others.
constexpr wchar_t kAlphabet[] = L"^^^ \n\no\x00ea" L"ldcrFf0a9xG";

std::wstring RandomText(FuzzBytes& in)
{
    const size_t length = in.Byte() % 64;
    std::wstring text;
    for (size_t i = 0; i < length; ++i)
        text += kAlphabet[in.Byte() % (sizeof(kAlphabet) / sizeof(kAlphabet[0]) - 1)];
    // Exactly as long as it is, so a read past its end leaves the allocation.
    return std::wstring(text.data(), text.size());
}

// Every drawn piece is made of characters of the text.
void CheckDraws(const FakeFont& font, const std::wstring& text)
{
    for (const FontDraw& d : font.draws) {
        for (const wchar_t c : d.text)
            FuzzCheck(text.find(c) != std::wstring::npos);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzBytes in(data, size);
    RecordingImage dest(200, 200);
    FakeFont font;
    while (!in.Empty()) {
        Graphics g(in.Bool() ? &dest : nullptr);
        g.SetFont(&font);
        g.SetWriteColoredString(in.Byte() % 4 != 0);
        g.mTransY = in.Float(-100, 100);
        g.SetColor(Color(in.Byte(), in.Byte(), in.Byte(), in.Byte()));
        const Color before = g.mColor;
        const std::wstring text = RandomText(in);
        const int64_t size64 = static_cast<int64_t>(text.size());
        font.draws.clear();

        if (in.Bool()) {
            const int width = g.DrawStringJustified(text, in.Range(-50, 50), in.Range(-50, 50), in.Range(-20, 400),
                                                    in.Range(-2, 2), in.Bool(), in.Range(-3, 70), in.Range(-3, 70),
                                                    in.Bool() ? -1 : in.Range(0, 0xFFFFFF));
            FuzzCheck(width >= 0 && width <= FakeFont::kCharWidth * size64);
            FuzzCheck(g.mColor.alpha == before.alpha);
            CheckDraws(font, text);
            continue;
        }

        const Rect rect(in.Range(-50, 50), in.Range(-50, 50), in.Range(-5, 120), in.Range(0, 100));
        const int lineSpacing = in.Bool() ? -1 : in.Range(-5, 30);
        int widest = -1;
        const int height = g.DrawStringWrapped(text, rect, lineSpacing, in.Range(-2, 2), &widest);
        FuzzCheck(g.mColor == before);
        FuzzCheck(widest >= 0 && widest <= FakeFont::kCharWidth * size64);
        CheckDraws(font, text);
        // The height is the first line plus a whole number of line spacings,
        // at most one per character and one for a closing line break.
        const int spacing = lineSpacing == -1 ? font.GetLineSpacing() : lineSpacing;
        const int64_t extra = static_cast<int64_t>(height) -
                              (font.GetDescent() + font.GetAscent() - font.GetLineSpacingOffset() - spacing);
        if (spacing == 0) {
            FuzzCheck(extra == 0);
        } else {
            FuzzCheck(extra % spacing == 0);
            FuzzCheck(extra / spacing >= 0 && extra / spacing <= size64 + 1);
        }
    }
    return 0;
}
