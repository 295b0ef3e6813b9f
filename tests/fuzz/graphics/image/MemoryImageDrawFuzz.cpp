// Drives the software drawing of memory images on small pictures with random
// geometry and colours (channels outside 0..255 included): rotated blits at
// any angle, centre and float position, stretches on both paths, lines of
// every mode, coverage fills and plain blits, from ARGB and palettised
// sources, each inside a clip that lies inside the destination as the drawing
// context guarantees. The sanitiser build catches any access outside the
// pictures, the coverage mask or the saturation table; the checks here catch
// writes into the marker word after the pixels and changes to the source.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "graphics/image/MemoryImage.h"
#include "graphics/types/Color.h"
#include "graphics/types/Rect.h"
#include "graphics/types/Span.h"
#include "tests/fuzz/FuzzBytes.h"

namespace {

using namespace Tandry;

// Images without a host use the built-in saturation table, a global the
// sanitiser guards on both sides.
std::unique_ptr<MemoryImage> MakeImage(FuzzBytes& in, int width, int height, bool palettise)
{
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    uint32_t colours[4];
    for (uint32_t& c : colours) {
        c = 0;
        for (int i = 0; i < 4; ++i)
            c = c << 8 | in.Byte();
    }
    for (uint32_t& p : pixels)
        p = colours[in.Byte() % 4];
    auto image = std::make_unique<MemoryImage>(nullptr);
    image->SetBits(pixels.data(), width, height, true);
    if (palettise)
        image->Palletize();
    if (in.Byte() % 4 == 0)
        image->ForceAlphaFlags(in.Bool(), in.Bool());
    return image;
}

int Channel(FuzzBytes& in)
{
    switch (in.Byte() % 8) {
    case 0: return in.Range(-1000, -1);
    case 1: return in.Range(256, 1000);
    case 2: return 255;
    default: return in.Range(0, 255);
    }
}

Color RandomColor(FuzzBytes& in)
{
    if (in.Bool())
        return Color::White;
    return Color(Channel(in), Channel(in), Channel(in), Channel(in));
}

Rect RectInside(FuzzBytes& in, int width, int height)
{
    const int x = in.Range(0, width - 1), y = in.Range(0, height - 1);
    return Rect(x, y, in.Range(0, width - x), in.Range(0, height - y));
}

double Coordinate(FuzzBytes& in, int lo, int size)
{
    const double v = lo + in.Range(0, size * 16 - 1) / 16.0;
    return in.Byte() % 4 == 0 ? static_cast<double>(static_cast<int>(v)) : v;
}

bool MarkerIntact(const MemoryImage& image)
{
    return image.mBits == nullptr
        || image.mBits[static_cast<size_t>(image.mWidth) * image.mHeight] == MemoryImage::kBitsMarker;
}

std::vector<uint32_t> SourceWords(MemoryImage& image)
{
    if (image.mColorIndices)
        return std::vector<uint32_t>(image.mColorIndices.get(),
                                     image.mColorIndices.get() + static_cast<size_t>(image.mWidth) * image.mHeight);
    const uint32_t* bits = image.GetBits();
    return std::vector<uint32_t>(bits, bits + static_cast<size_t>(image.mWidth) * image.mHeight);
}

void DrawOne(FuzzBytes& in, MemoryImage& dest, MemoryImage& src)
{
    const int mode = in.Range(0, 3);
    const Color color = RandomColor(in);
    const Rect clip = RectInside(in, dest.mWidth, dest.mHeight);
    const int op = in.Byte() % 6;
    // Lines, spans and blits come inside a clip with room for them.
    if (op >= 2 && (clip.width == 0 || clip.height == 0))
        return;
    switch (op) {
    case 0: {
        const Rect srcRect = RectInside(in, src.mWidth, src.mHeight);
        const float x = in.Float(-20, dest.mWidth + 20), y = in.Float(-20, dest.mHeight + 20);
        const float angle = in.Float(-8, 8);
        const float centerX = in.Float(-4, srcRect.width + 4), centerY = in.Float(-4, srcRect.height + 4);
        const std::vector<uint32_t> before(dest.GetBits(),
                                           dest.GetBits() + static_cast<size_t>(dest.mWidth) * dest.mHeight);
        dest.BltRotated(&src, x, y, srcRect, clip, color, mode, angle, centerX, centerY);
        if (mode != 0) {
            for (size_t i = 0; i < before.size(); ++i)
                FuzzCheck((dest.GetBits()[i] >> 24) == (before[i] >> 24));
        }
        break;
    }
    case 1: {
        const Rect srcRect = RectInside(in, src.mWidth, src.mHeight);
        const Rect destRect(in.Range(-30, dest.mWidth + 30), in.Range(-30, dest.mHeight + 30), in.Range(-2, 80),
                            in.Range(-2, 80));
        dest.StretchBlt(&src, destRect, srcRect, clip, color, mode, in.Bool());
        break;
    }
    case 2: {
        const double x1 = Coordinate(in, clip.x, clip.width), y1 = Coordinate(in, clip.y, clip.height);
        const double x2 = in.Byte() % 6 == 0 ? x1 : Coordinate(in, clip.x, clip.width);
        const double y2 = in.Byte() % 6 == 0 ? y1 : Coordinate(in, clip.y, clip.height);
        if (in.Bool())
            dest.DrawLineAA(x1, y1, x2, y2, color, mode);
        else
            dest.DrawLine(x1, y1, x2, y2, color, mode);
        break;
    }
    case 3: {
        // A mask exactly the size of the clip, so that a read past it is caught.
        std::vector<Span> spans;
        for (int y = clip.y; y < clip.y + clip.height; ++y) {
            const int x = in.Range(clip.x, clip.x + clip.width - 1);
            spans.push_back(Span{y, x, in.Range(0, clip.x + clip.width - x)});
        }
        auto mask = std::make_unique<uint8_t[]>(static_cast<size_t>(clip.width) * clip.height);
        for (int i = 0; i < clip.width * clip.height; ++i)
            mask[i] = in.Byte();
        dest.FillScanLinesWithCoverage(spans.data(), static_cast<int>(spans.size()), color, mode, mask.get(), clip.x,
                                       clip.y, clip.width, 0);
        break;
    }
    case 4: {
        const int w = in.Range(0, std::min(src.mWidth, clip.width));
        const int h = in.Range(0, std::min(src.mHeight, clip.height));
        const Rect srcRect(in.Range(0, src.mWidth - w), in.Range(0, src.mHeight - h), w, h);
        dest.Blt(&src, clip.x + in.Range(0, clip.width - w), clip.y + in.Range(0, clip.height - h), srcRect, color,
                 mode);
        break;
    }
    default:
        dest.FillRect(clip, color, mode);
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzBytes in(data, size);
    auto dest = MakeImage(in, in.Range(1, 24), in.Range(1, 24), false);
    auto src = MakeImage(in, in.Range(1, 16), in.Range(1, 16), in.Bool());
    const std::vector<uint32_t> srcBefore = SourceWords(*src);
    for (int step = 0; step < 16 && !in.Empty(); ++step) {
        DrawOne(in, *dest, *src);
        FuzzCheck(MarkerIntact(*dest));
        FuzzCheck(MarkerIntact(*src));
    }
    FuzzCheck(SourceWords(*src) == srcBefore);
    return 0;
}
