// Blits through the surface interface: the cases worked out by hand, a slow
// reference of the mapping rule against random rectangles in every pixel size,
// the refusals that must leave the destination untouched, and clipping.
#include "platform/ddraw/DDrawBlitter.h"

#include "platform/ddraw/DDrawTestSupport.h"

#include <optional>
#include <random>
#include <string>

namespace {

using namespace Platform;
using namespace DDrawTest;

class DDrawBlitterTest : public DDrawFixture {};

constexpr uint32_t kFill32 = 0xCDCDCDCD;
constexpr uint32_t kFill16 = 0xCDCD;

struct BltCase {
    const char* name;
    DDrawFormat format;
    uint32_t sourceWidth, sourceHeight;
    std::vector<uint32_t> source;
    uint32_t destWidth, destHeight;
    std::optional<RECT> destRect;
    std::optional<RECT> sourceRect;
    uint32_t flags;
    std::optional<DDCOLORKEY> key;
    HRESULT result;
    std::vector<uint32_t> dest; // expected; empty: untouched
};

const uint32_t A = 0x80FF0000, B = 0x00FF0000, C = 0x00123456, D = 0xFF00FF00, E = 0x7F0000FF;
const uint32_t a = 0xF800, b = 0x07E0, c = 0x001F, d = 0xFFE0, e = 0x1234;

const BltCase kCases[] = {
    {"copy 32", DDrawFormat::X8R8G8B8, 3, 2, {A, B, C, D, E, A}, 3, 2, {}, {}, DDBLT_WAIT, {}, DD_OK,
     {A, B, C, D, E, A}},
    {"copy 16", DDrawFormat::R5G6B5, 3, 2, {a, b, c, d, e, a}, 3, 2, {}, {}, DDBLT_WAIT, {}, DD_OK,
     {a, b, c, d, e, a}},
    {"2x2 onto 4x4 32", DDrawFormat::X8R8G8B8, 2, 2, {A, B, C, D}, 4, 4, {}, {}, DDBLT_WAIT, {}, DD_OK,
     {A, A, B, B, A, A, B, B, C, C, D, D, C, C, D, D}},
    {"2x2 onto 4x4 16", DDrawFormat::R5G6B5, 2, 2, {a, b, c, d}, 4, 4, {}, {}, DDBLT_WAIT, {}, DD_OK,
     {a, a, b, b, a, a, b, b, c, c, d, d, c, c, d, d}},
    {"3 onto 2 32", DDrawFormat::X8R8G8B8, 3, 1, {A, B, C}, 2, 1, {}, {}, DDBLT_WAIT, {}, DD_OK, {A, B}},
    {"3 onto 2 16", DDrawFormat::R5G6B5, 3, 1, {a, b, c}, 2, 1, {}, {}, DDBLT_WAIT, {}, DD_OK, {a, b}},
    {"3 onto 5", DDrawFormat::R5G6B5, 3, 1, {a, b, c}, 5, 1, {}, {}, DDBLT_WAIT, {}, DD_OK, {a, a, b, b, c}},
    {"5 onto 2", DDrawFormat::X8R8G8B8, 5, 1, {A, B, C, D, E}, 2, 1, {}, {}, DDBLT_WAIT, {}, DD_OK, {A, C}},
    // The key is compared with the whole stored word: the alpha byte decides.
    {"key with alpha 32", DDrawFormat::X8R8G8B8, 2, 1, {A, B}, 2, 1, {}, {}, DDBLT_WAIT | DDBLT_KEYSRC,
     DDCOLORKEY{A, A}, DD_OK, {kFill32, B}},
    {"key 16", DDrawFormat::R5G6B5, 3, 1, {d, c, d}, 3, 1, {}, {}, DDBLT_WAIT | DDBLT_KEYSRC, DDCOLORKEY{d, d},
     DD_OK, {kFill16, c, kFill16}},
    {"key range", DDrawFormat::R5G6B5, 4, 1, {0x10, 0x11, 0x12, 0x13}, 4, 1, {}, {}, DDBLT_KEYSRC,
     DDCOLORKEY{0x11, 0x12}, DD_OK, {0x10, kFill16, kFill16, 0x13}},
    {"stretched and keyed", DDrawFormat::R5G6B5, 2, 1, {d, c}, 4, 1, {}, {}, DDBLT_KEYSRC, DDCOLORKEY{d, d}, DD_OK,
     {kFill16, kFill16, c, c}},
    {"key set but not asked", DDrawFormat::R5G6B5, 1, 1, {d}, 1, 1, {}, {}, DDBLT_WAIT, DDCOLORKEY{d, d}, DD_OK,
     {d}},
    {"part to part", DDrawFormat::X8R8G8B8, 3, 2, {A, B, C, D, E, A}, 3, 3, RECT{1, 1, 3, 2}, RECT{1, 0, 3, 1},
     DDBLT_WAIT, {}, DD_OK, {kFill32, kFill32, kFill32, kFill32, B, C, kFill32, kFill32, kFill32}},
    {"dest reaching outside", DDrawFormat::X8R8G8B8, 2, 1, {A, B}, 4, 1, RECT{3, 0, 5, 1}, {}, DDBLT_WAIT, {},
     DDERR_INVALIDRECT, {}},
    {"dest above the top", DDrawFormat::R5G6B5, 1, 1, {a}, 2, 2, RECT{0, -1, 1, 0}, {}, DDBLT_WAIT, {},
     DDERR_INVALIDRECT, {}},
    {"source outside", DDrawFormat::X8R8G8B8, 3, 1, {A, B, C}, 4, 1, {}, RECT{1, 0, 4, 1}, DDBLT_WAIT, {},
     DDERR_INVALIDRECT, {}},
    {"empty dest", DDrawFormat::X8R8G8B8, 1, 1, {A}, 2, 2, RECT{1, 1, 1, 2}, {}, DDBLT_WAIT, {}, DDERR_INVALIDRECT,
     {}},
    {"inverted source", DDrawFormat::X8R8G8B8, 2, 2, {A, B, C, D}, 2, 2, {}, RECT{0, 2, 2, 0}, DDBLT_WAIT, {},
     DDERR_INVALIDRECT, {}},
    {"key asked, none set", DDrawFormat::X8R8G8B8, 1, 1, {A}, 1, 1, {}, {}, DDBLT_KEYSRC, {}, DDERR_NOCOLORKEY, {}},
    {"other flag", DDrawFormat::X8R8G8B8, 1, 1, {A}, 1, 1, {}, {}, DDBLT_WAIT | 0x400 /* colour fill */, {},
     DDERR_UNSUPPORTED, {}},
};

TEST_F(DDrawBlitterTest, CasesWorkedOutByHand)
{
    DirectDraw7 dd;
    for (const BltCase& t : kCases) {
        SCOPED_TRACE(t.name);
        IDirectDrawSurface7* source = MakeSurface(dd.dd, t.sourceWidth, t.sourceHeight, t.format);
        IDirectDrawSurface7* dest = MakeSurface(dd.dd, t.destWidth, t.destHeight, t.format);
        WritePixels(source, t.source);
        if (t.key) {
            DDCOLORKEY key = *t.key;
            ASSERT_EQ(source->SetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
        }
        const std::vector<uint32_t> before = ReadPixels(dest);
        RECT destRect = t.destRect.value_or(RECT{});
        RECT sourceRect = t.sourceRect.value_or(RECT{});
        DDBLTFX effects;
        effects.dwSize = sizeof(effects);
        EXPECT_EQ(dest->Blt(t.destRect ? &destRect : nullptr, source, t.sourceRect ? &sourceRect : nullptr, t.flags,
                            &effects),
                  t.result);
        EXPECT_EQ(ReadPixels(dest), t.dest.empty() ? before : t.dest);
        source->Release();
        dest->Release();
    }
}

// The mapping rule written again, on pixel values.
std::vector<uint32_t> ReferenceBlit(std::vector<uint32_t> dest, uint32_t destWidth, const std::vector<uint32_t>& source,
                                    uint32_t sourceWidth, RECT from, RECT to, RECT written,
                                    std::optional<DDCOLORKEY> key)
{
    const int64_t sw = from.right - from.left, sh = from.bottom - from.top;
    const int64_t dw = to.right - to.left, dh = to.bottom - to.top;
    for (int64_t y = written.top; y < written.bottom; ++y) {
        for (int64_t x = written.left; x < written.right; ++x) {
            const int64_t sx = from.left + (x - to.left) * sw / dw;
            const int64_t sy = from.top + (y - to.top) * sh / dh;
            const uint32_t v = source[static_cast<size_t>(sy * sourceWidth + sx)];
            if (key && v >= key->dwColorSpaceLowValue && v <= key->dwColorSpaceHighValue)
                continue;
            dest[static_cast<size_t>(y * destWidth + x)] = v;
        }
    }
    return dest;
}

RECT RandomRect(std::mt19937& random, uint32_t width, uint32_t height)
{
    std::uniform_int_distribution<int32_t> xs(0, static_cast<int32_t>(width) - 1);
    std::uniform_int_distribution<int32_t> ys(0, static_cast<int32_t>(height) - 1);
    const int32_t left = xs(random), top = ys(random);
    std::uniform_int_distribution<int32_t> w(1, static_cast<int32_t>(width) - left);
    std::uniform_int_distribution<int32_t> h(1, static_cast<int32_t>(height) - top);
    return RECT{left, top, left + w(random), top + h(random)};
}

TEST_F(DDrawBlitterTest, RandomBlitsFollowTheMappingRuleInEveryPixelSize)
{
    const struct {
        DDrawFormat format;
        uint32_t valueMask;
    } formats[] = {{DDrawFormat::P8, 0xFF},
                   {DDrawFormat::R5G6B5, 0xFFFF},
                   {DDrawFormat::R8G8B8, 0xFFFFFF},
                   {DDrawFormat::X8R8G8B8, 0xFFFFFFFF}};
    std::mt19937 random(1234);
    DirectDraw7 dd;
    for (const auto& f : formats) {
        for (int round = 0; round < 40; ++round) {
            SCOPED_TRACE("bits mask " + std::to_string(f.valueMask) + " round " + std::to_string(round));
            const uint32_t sw = 1 + random() % 23, sh = 1 + random() % 9, dw = 1 + random() % 31, dh = 1 + random() % 11;
            IDirectDrawSurface7* source = MakeSurface(dd.dd, sw, sh, f.format);
            IDirectDrawSurface7* dest = MakeSurface(dd.dd, dw, dh, f.format);
            // Few distinct values, so that keys hit often.
            std::vector<uint32_t> pixels(size_t{sw} * sh);
            for (uint32_t& p : pixels)
                p = (random() % 5 * 0x01010101u + 0x10000001u) & f.valueMask;
            WritePixels(source, pixels);
            std::optional<DDCOLORKEY> key;
            if (round % 2 == 1) {
                key = DDCOLORKEY{pixels[0], pixels[0]};
                ASSERT_EQ(source->SetColorKey(DDCKEY_SRCBLT, &*key), DD_OK);
            }
            RECT from = RandomRect(random, sw, sh);
            RECT to = RandomRect(random, dw, dh);
            const std::vector<uint32_t> expected =
                ReferenceBlit(ReadPixels(dest), dw, pixels, sw, from, to, to, key);
            ASSERT_EQ(dest->Blt(&to, source, &from, DDBLT_WAIT | (key ? DDBLT_KEYSRC : 0), nullptr), DD_OK);
            EXPECT_EQ(ReadPixels(dest), expected);
            source->Release();
            dest->Release();
        }
    }
}

TEST_F(DDrawBlitterTest, RefusalsLeaveTheDestinationAsItWas)
{
    DirectDraw7 dd;
    IDirectDrawSurface7* dest = MakeSurface(dd.dd, 4, 4, DDrawFormat::X8R8G8B8);
    IDirectDrawSurface7* same = MakeSurface(dd.dd, 4, 4, DDrawFormat::X8R8G8B8);
    IDirectDrawSurface7* withAlpha = MakeSurface(dd.dd, 4, 4, DDrawFormat::A8R8G8B8);
    IDirectDrawSurface7* sixteen = MakeSurface(dd.dd, 4, 4, DDrawFormat::R5G6B5);
    IDirectDrawSurface7* swapped = MakeSurface(dd.dd, 4, 4, DDrawFormat::BGR565);
    WritePixels(same, std::vector<uint32_t>(16, 0x00112233));
    const std::vector<uint32_t> before = ReadPixels(dest);

    EXPECT_EQ(dest->Blt(nullptr, withAlpha, nullptr, DDBLT_WAIT, nullptr), DDERR_UNSUPPORTED);
    EXPECT_EQ(dest->Blt(nullptr, sixteen, nullptr, DDBLT_WAIT, nullptr), DDERR_UNSUPPORTED);
    EXPECT_EQ(sixteen->Blt(nullptr, swapped, nullptr, DDBLT_WAIT, nullptr), DDERR_UNSUPPORTED);
    EXPECT_EQ(dest->Blt(nullptr, static_cast<IDirectDrawSurface7*>(nullptr), nullptr, DDBLT_WAIT, nullptr),
              DDERR_INVALIDPARAMS);
    DDBLTFX wrongSize;
    wrongSize.dwSize = 108;
    EXPECT_EQ(dest->Blt(nullptr, same, nullptr, DDBLT_WAIT, &wrongSize), DDERR_INVALIDPARAMS);
    EXPECT_EQ(ReadPixels(dest), before);

    for (IDirectDrawSurface7* s : {dest, same, withAlpha, sixteen, swapped})
        s->Release();
}

TEST_F(DDrawBlitterTest, BlitWithinOneSurfaceReadsTheOldPixels)
{
    DirectDraw7 dd;
    IDirectDrawSurface7* surface = MakeSurface(dd.dd, 6, 1, DDrawFormat::X8R8G8B8);
    WritePixels(surface, {1, 2, 3, 4, 5, 6});
    RECT from{0, 0, 4, 1};
    RECT to{2, 0, 6, 1};
    ASSERT_EQ(surface->Blt(&to, surface, &from, DDBLT_WAIT, nullptr), DD_OK);
    EXPECT_EQ(ReadPixels(surface), (std::vector<uint32_t>{1, 2, 1, 2, 3, 4}));
    // Stretching onto itself, leftwards.
    RECT wide{2, 0, 6, 1};
    RECT left{0, 0, 2, 1};
    ASSERT_EQ(surface->Blt(&left, surface, &wide, DDBLT_WAIT, nullptr), DD_OK);
    EXPECT_EQ(ReadPixels(surface), (std::vector<uint32_t>{1, 3, 1, 2, 3, 4}));
    surface->Release();
}

// A window whose client area is (448, 156) + 1024 x 768 on a 1920 x 1080
// desktop: a blit reaching past it on every side writes only inside it, each
// pixel as the same blit writes it into a surface without a clipper.
TEST_F(DDrawBlitterTest, ClipperCutsToTheClientAreaAndKeepsTheMapping)
{
    const HWND window = FakeWindow(1);
    mPresenter->clientRects[window] = RECT{448, 156, 448 + 1024, 156 + 768};
    for (const DDrawFormat format : {DDrawFormat::X8R8G8B8, DDrawFormat::R5G6B5}) {
        SCOPED_TRACE(static_cast<int>(format));
        DirectDraw7 dd;
        IDirectDrawSurface7* source = MakeSurface(dd.dd, 300, 200, format);
        std::vector<uint32_t> pixels(300 * 200);
        for (size_t i = 0; i < pixels.size(); ++i)
            pixels[i] = static_cast<uint32_t>(i * 2654435761u) & (format == DDrawFormat::R5G6B5 ? 0xFFFF : ~0u);
        WritePixels(source, pixels);
        IDirectDrawSurface7* clipped = MakeSurface(dd.dd, 1920, 1080, format);
        IDirectDrawSurface7* plain = MakeSurface(dd.dd, 1920, 1080, format);
        IDirectDrawClipper* clipper = nullptr;
        ASSERT_EQ(dd->CreateClipper(0, &clipper, nullptr), DD_OK);
        ASSERT_EQ(clipper->SetHWnd(0, window), DD_OK);
        ASSERT_EQ(clipped->SetClipper(clipper), DD_OK);
        clipper->Release();

        RECT to{400, 100, 1500, 900};
        RECT from{7, 3, 290, 199};
        ASSERT_EQ(clipped->Blt(&to, source, &from, DDBLT_WAIT, nullptr), DD_OK);
        ASSERT_EQ(plain->Blt(&to, source, &from, DDBLT_WAIT, nullptr), DD_OK);
        const std::vector<uint32_t> cut = ReadPixels(clipped);
        const std::vector<uint32_t> whole = ReadPixels(plain);
        const uint32_t fill = format == DDrawFormat::R5G6B5 ? kFill16 : kFill32;
        size_t inside = 0;
        for (int32_t y = 0; y < 1080; ++y) {
            for (int32_t x = 0; x < 1920; ++x) {
                const size_t i = static_cast<size_t>(y) * 1920 + x;
                const bool inClient = x >= 448 && x < 1472 && y >= 156 && y < 924;
                if (inClient && x < 1500 && y < 900) {
                    ++inside;
                    ASSERT_EQ(cut[i], whole[i]) << x << "," << y;
                } else {
                    ASSERT_EQ(cut[i], fill) << x << "," << y;
                }
            }
        }
        EXPECT_EQ(inside, size_t{1024} * (900 - 156));

        // Wholly outside the client area: nothing is written, and that is no failure.
        RECT outside{0, 0, 100, 100};
        EXPECT_EQ(clipped->Blt(&outside, source, &from, DDBLT_WAIT, nullptr), DD_OK);
        EXPECT_EQ(ReadPixels(clipped), cut);
        // Past the desktop's edges the surface cuts too.
        RECT beyond{1400, 800, 2400, 1400};
        EXPECT_EQ(clipped->Blt(&beyond, source, &from, DDBLT_WAIT, nullptr), DD_OK);
        for (IDirectDrawSurface7* s : {source, clipped, plain})
            s->Release();
    }
}

TEST_F(DDrawBlitterTest, ClipperWithoutAWindowOrWithAWindowGone)
{
    DirectDraw7 dd;
    IDirectDrawSurface7* source = MakeSurface(dd.dd, 2, 2, DDrawFormat::X8R8G8B8);
    IDirectDrawSurface7* dest = MakeSurface(dd.dd, 2, 2, DDrawFormat::X8R8G8B8);
    WritePixels(source, {1, 2, 3, 4});
    const std::vector<uint32_t> before = ReadPixels(dest);
    IDirectDrawClipper* clipper = nullptr;
    ASSERT_EQ(dd->CreateClipper(0, &clipper, nullptr), DD_OK);
    ASSERT_EQ(dest->SetClipper(clipper), DD_OK);
    EXPECT_EQ(dest->Blt(nullptr, source, nullptr, DDBLT_WAIT, nullptr), DDERR_NOCLIPLIST);
    EXPECT_EQ(clipper->SetHWnd(1, FakeWindow(9)), DDERR_INVALIDPARAMS);
    ASSERT_EQ(clipper->SetHWnd(0, FakeWindow(9)), DD_OK); // the presenter knows no such window
    EXPECT_EQ(dest->Blt(nullptr, source, nullptr, DDBLT_WAIT, nullptr), DD_OK);
    EXPECT_EQ(ReadPixels(dest), before);
    // Without the clipper the blit reaches the surface again.
    ASSERT_EQ(dest->SetClipper(nullptr), DD_OK);
    EXPECT_EQ(dest->Blt(nullptr, source, nullptr, DDBLT_WAIT, nullptr), DD_OK);
    EXPECT_EQ(ReadPixels(dest), (std::vector<uint32_t>{1, 2, 3, 4}));
    clipper->Release();
    source->Release();
    dest->Release();
}

} // namespace
