// The font drawn from glyph images: a text description lists the glyphs, their
// places on page images beside it, their offsets, advances and kerning. The
// resource manager creates one for every font resource that is not a system
// font; Duplicate gives copies that share the description and the pages.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "graphics/context/Font.h"
#include "widgets/BMFontData.h"

namespace Tandry {

class DDImage;

class BMFont : public Font {
public:
    using Font::DrawString;
    using Font::MeasureText;
    using Font::StringWidth;

    // Always constructs; IsLoaded tells whether the description was understood.
    explicit BMFont(const std::string& path);
    // Shares the description and the pages.
    BMFont(const BMFont& other);
    BMFont& operator=(const BMFont&) = delete;
    // The last copy deletes the description and the pages.
    ~BMFont() override;

    Font* Duplicate() const override;
    void MeasureText(FloatRect& out, const std::wstring& text, float x, float y, float scaleX, float scaleY,
                     float spacing, int hAlign, int vAlign) const override;
    void DrawString(Graphics* g, int x, int y, const std::wstring& text, const Color& color, const Rect& clip,
                    float scaleX, float scaleY, float spacing, int hAlign, int vAlign) override;

    const BMFontData& Data() const { return mShared->data; }
    // By page id; null where a page image did not load.
    const std::vector<DDImage*>& Pages() const { return mShared->pages; }

private:
    // What the copies share; freed with the last of them.
    struct Shared {
        Shared() = default;
        Shared(const Shared&) = delete;
        Shared& operator=(const Shared&) = delete;
        ~Shared();
        BMFontData data;
        std::vector<DDImage*> pages;
    };
    std::shared_ptr<Shared> mShared;
};

} // namespace Tandry
