// The HUD portrait drawn layer by layer: back, frame, the shown face, the
// next face faded over it, and the glass on top.
#include "game/shell/Avatar.h"
#include "graphics/context/Graphics.h"
#include "graphics/image/MemoryImage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

namespace {

std::unique_ptr<Tandry::MemoryImage> Solid(int w, int h, uint32_t argb)
{
    auto image = std::make_unique<Tandry::MemoryImage>();
    image->Create(w, h);
    for (int i = 0; i < w * h; ++i)
        image->GetBits()[i] = argb;
    image->MarkBitsChanged();
    return image;
}

// Source-over of a colour with the given alpha onto an opaque pixel, by
// channel, as the blend formula gives it (the drawing code may round
// differently by one step).
uint32_t Over(uint32_t dst, uint32_t src, int alpha)
{
    uint32_t out = 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
        const int d = static_cast<int>((dst >> shift) & 255u);
        const int s = static_cast<int>((src >> shift) & 255u);
        out |= static_cast<uint32_t>((s * alpha + d * (255 - alpha)) / 255) << shift;
    }
    return out;
}

bool Near(uint32_t got, uint32_t want)
{
    for (int shift = 0; shift < 32; shift += 8) {
        const int a = static_cast<int>((got >> shift) & 255u);
        const int b = static_cast<int>((want >> shift) & 255u);
        if (a - b > 2 || b - a > 2)
            return false;
    }
    return true;
}

TEST(AvatarDraw, FadesTheTargetFaceOverTheShownOneUnderTheGlass)
{
    auto back = Solid(20, 20, 0xFF202020u);
    auto red = Solid(10, 10, 0xFFFF0000u);
    auto blue = Solid(10, 10, 0xFF0000FFu);
    auto glass = Solid(4, 4, 0x80FFFFFFu);
    Tandry::Avatar avatar;
    avatar.backImage = back.get();
    avatar.faces[0] = red.get();
    avatar.faces[3] = blue.get();
    avatar.facePos[0] = Tandry::Point(2, 2);
    avatar.facePos[3] = Tandry::Point(4, 4);
    avatar.glassImage = glass.get();
    avatar.glassPos = Tandry::Point(10, 10);
    avatar.shownFace = 0;
    avatar.targetFace = 3;
    avatar.blend = 0.5f;

    auto target = Solid(20, 20, 0xFF000000u);
    Tandry::Graphics g(target.get());
    avatar.Draw(&g);

    // int(0.5 * 255) = 127.
    const uint32_t faded = Over(0xFFFF0000u, 0xFF0000FFu, 127);
    const uint32_t glassOnFaded = Over(faded, 0xFFFFFFFFu, 128);
    struct Case {
        int x, y;
        uint32_t want;
    };
    for (const Case& c : {Case{0, 0, 0xFF202020u}, Case{2, 2, 0xFFFF0000u}, Case{3, 11, 0xFFFF0000u},
                          Case{5, 5, faded}, Case{13, 13, Over(Over(0xFF202020u, 0xFF0000FFu, 127), 0xFFFFFFFFu, 128)},
                          Case{10, 10, glassOnFaded}, Case{15, 15, 0xFF202020u}, Case{12, 5, Over(0xFF202020u, 0xFF0000FFu, 127)},
                          Case{14, 5, 0xFF202020u}}) {
        EXPECT_TRUE(Near(target->GetPixel(c.x, c.y), c.want))
            << c.x << "," << c.y << ": " << std::hex << target->GetPixel(c.x, c.y) << " vs " << c.want;
    }
}

TEST(AvatarDraw, OnlyTheShownFaceWithoutAFadeAndNoFaceOutsideTheFour)
{
    auto red = Solid(4, 4, 0xFFFF0000u);
    auto blue = Solid(4, 4, 0xFF0000FFu);
    Tandry::Avatar avatar;
    avatar.faces[1] = red.get();
    avatar.faces[2] = blue.get();
    avatar.shownFace = 1;
    avatar.targetFace = 1;
    avatar.blend = 1.0f;
    auto target = Solid(4, 4, 0xFF000000u);
    Tandry::Graphics g(target.get());
    avatar.Draw(&g);
    EXPECT_TRUE(Near(target->GetPixel(1, 1), 0xFFFF0000u));

    for (const int face : {-1, 4, 1000}) {
        avatar.targetFace = face;
        avatar.Draw(&g);
        EXPECT_TRUE(Near(target->GetPixel(1, 1), 0xFFFF0000u)) << face;
    }
    avatar.shownFace = 7;
    avatar.targetFace = 2;
    avatar.Draw(&g);
    EXPECT_TRUE(Near(target->GetPixel(1, 1), 0xFF0000FFu));
}

} // namespace
