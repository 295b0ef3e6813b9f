// A font of fixed metrics for the text tests: every character 10 wide,
// ascent 8, height 10 (descent 2), no extra line spacing. It records every
// draw with the context's arguments.
#pragma once

#include <string>
#include <vector>

#include "graphics/context/Font.h"
#include "graphics/types/Color.h"
#include "graphics/types/Rect.h"

namespace Tandry {

struct FontDraw {
    Graphics* context = nullptr;
    std::wstring text;
    int x = 0;
    int y = 0;
    Color color;
    Rect clip;
    float scaleX = 0.0f;
    float scaleY = 0.0f;
    float spacing = 0.0f;
    int hAlign = 0;
    int vAlign = 0;
};

class FakeFont : public Font {
public:
    static constexpr int kCharWidth = 10;

    std::vector<FontDraw> draws;

    using Font::DrawString;
    using Font::MeasureText;
    using Font::StringWidth;

    Font* Duplicate() const override { return new FakeFont(*this); }

    int GetAscent() const override { return 8; }
    int GetDescent() const override { return 2; }
    int GetLineSpacing() const override { return 10; }
    int GetLineSpacingOffset() const override { return 0; }
    int StringWidth(const std::wstring& text, float, float, float) const override
    {
        return kCharWidth * static_cast<int>(text.size());
    }
    // Lines are not counted: one line of the font's height.
    void MeasureText(FloatRect& out, const std::wstring& text, float x, float y, float scaleX, float scaleY, float,
                     int hAlign, int vAlign) const override
    {
        out = {x, y, static_cast<float>(kCharWidth * static_cast<int>(text.size())) * scaleX, 10.0f * scaleY};
        AlignBox(out, hAlign, vAlign, 8.0f);
    }
    void DrawString(Graphics* g, int x, int y, const std::wstring& text, const Color& color, const Rect& clip,
                    float scaleX, float scaleY, float spacing, int hAlign, int vAlign) override
    {
        draws.push_back({g, text, x, y, color, clip, scaleX, scaleY, spacing, hAlign, vAlign});
    }
};

} // namespace Tandry
