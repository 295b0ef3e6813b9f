#include "app/BuiltInCursors.h"

#include <gtest/gtest.h>

namespace {

using Tandry::CursorPicture;

struct Pixels {
    int opaque = 0;
    int white = 0;
    int strayXor = 0;
};

bool Bit(const std::array<uint8_t, CursorPicture::kMaskBytes>& mask, int x, int y)
{
    return (mask[static_cast<size_t>(y * 4 + x / 8)] >> (7 - x % 8)) & 1;
}

Pixels Count(const CursorPicture& picture)
{
    Pixels pixels;
    for (int y = 0; y < CursorPicture::kSize; ++y) {
        for (int x = 0; x < CursorPicture::kSize; ++x) {
            const bool transparent = Bit(picture.andMask, x, y);
            const bool xorSet = Bit(picture.xorMask, x, y);
            pixels.opaque += transparent ? 0 : 1;
            pixels.white += !transparent && xorSet ? 1 : 0;
            // AND 1 with XOR 1 would invert the screen: never wanted here.
            pixels.strayXor += transparent && xorSet ? 1 : 0;
        }
    }
    return pixels;
}

TEST(BuiltInCursors, HotSpotsLieOnOutlinedPictures)
{
    struct Case {
        const char* name;
        const CursorPicture& picture;
        int hotX;
        int hotY;
    };
    const Case cases[] = {
        {"hand", Tandry::HandCursorPicture(), 11, 4},
        {"drag", Tandry::DragCursorPicture(), 15, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.picture.hotX, c.hotX);
        EXPECT_EQ(c.picture.hotY, c.hotY);
        EXPECT_FALSE(Bit(c.picture.andMask, c.hotX, c.hotY));
        const Pixels pixels = Count(c.picture);
        EXPECT_EQ(pixels.strayXor, 0);
        EXPECT_GT(pixels.white, 0);
        EXPECT_GT(pixels.opaque - pixels.white, 0);
        // The corners stay clear of the picture.
        EXPECT_TRUE(Bit(c.picture.andMask, 0, 0));
        EXPECT_TRUE(Bit(c.picture.andMask, 31, 31));
    }
}

} // namespace
