// Loads arbitrary bytes as a bitmap-font description from a one-member pack,
// with 32 x 32 page images made here, then measures and draws every character
// code the input holds onto a recording image and onto a memory image. Checks
// that every glyph blit reads inside its page and that widths stay finite.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>

#include "graphics/context/Graphics.h"
#include "graphics/image/MemoryImage.h"
#include "tests/fuzz/FuzzBytes.h"
#include "tests/fuzz/ImageFuzzPack.h"
#include "tests/graphics/context/RecordingImage.h"
#include "tests/widgets/FakeWidgetHost.h"
#include "widgets/BMFont.h"

namespace {

using namespace Tandry;

constexpr int kPageSide = 32;

bool MakePage(const std::string&, DDImage& image)
{
    image.Create(kPageSide, kPageSide);
    uint32_t* bits = image.GetBits();
    for (int i = 0; i < kPageSide * kPageSide; ++i)
        bits[i] = 0xFFFFFFFFu;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FakeWidgetHost host;
    host.make = MakePage;
    if (!AddOneMemberPack("FONTS\\FUZZ.FNT", data, size))
        return 0;
    {
        BMFont font("fonts\\fuzz.fnt");
        FuzzCheck(font.Pages().size() == font.Data().pageFiles.size());

        // Every code the input holds, and the codes of the glyphs.
        std::wstring text;
        std::set<wchar_t> seen;
        for (size_t i = 0; i < size && text.size() < 512; ++i) {
            if (seen.insert(static_cast<wchar_t>(data[i])).second)
                text += static_cast<wchar_t>(data[i]);
        }
        for (const auto& [code, glyph] : font.Data().glyphs) {
            if (text.size() >= 1024)
                break;
            text += static_cast<wchar_t>(code);
        }

        FloatRect box;
        font.MeasureText(box, text, 0, 0, 1, 1, 0, kAlignCenter, kAlignMiddle);
        FuzzCheck(!std::isnan(box.width) && box.width >= 0);
        font.StringWidth(text, 1, 1, 0);

        RecordingImage dest(64, 64);
        Graphics g(&dest);
        font.DrawString(&g, 10, 10, text, Color(255, 255, 255), g.mClipRect, 1, 1, 1, kAlignRight, kAlignBaseline);
        for (const SlotCall& call : dest.calls) {
            FuzzCheck(call.slot == Slot::StretchBlt);
            FuzzCheck(call.src != nullptr);
            const Rect& r = call.srcRect;
            FuzzCheck(r.width > 0 && r.height > 0 && r.x >= 0 && r.y >= 0);
            FuzzCheck(int64_t{r.x} + r.width <= call.src->mWidth && int64_t{r.y} + r.height <= call.src->mHeight);
        }

        MemoryImage memory;
        memory.Create(48, 48);
        Graphics onMemory(&memory);
        onMemory.SetFastStretch(true);
        font.DrawString(&onMemory, 5, 30, text, Color(255, 255, 255), onMemory.mClipRect, 1, 1, 0, 0,
                        kAlignBaseline);
    }
    GetSharedPakInterface()->Reset();
    return 0;
}
