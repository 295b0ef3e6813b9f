#include "app/BuiltInCursors.h"

#include <string_view>

namespace Tandry {

namespace {

// '#' black outline, 'o' white fill, anything else transparent; rows shorter
// than 32 are transparent to the right, missing rows below.
constexpr std::string_view kHandRows[] = {
    "",
    "",
    "",
    "",
    "..........##",
    ".........#oo#",
    ".........#oo#",
    ".........#oo#",
    ".........#oo#",
    ".........#oo####",
    ".........#oo#oo####",
    ".........#oo#oo#oo###",
    ".....###.#oo#oo#oo#oo#",
    ".....#oo##oooooooooooo#",
    ".....#ooo#oooooooooooo#",
    "......#oo#oooooooooooo#",
    "......#ooooooooooooooo#",
    ".......#oooooooooooooo#",
    ".......#ooooooooooooo#",
    "........#oooooooooooo#",
    "........#ooooooooooo#",
    ".........#oooooooooo#",
    ".........#oooooooooo#",
    ".........############",
};

constexpr std::string_view kDragRows[] = {
    "",
    "",
    "",
    "..............##",
    "..........##.#oo#.##",
    ".........#oo##oo##oo#",
    ".........#oo##oo##oo#",
    ".........#oo##oo##oo#.##",
    ".........#oo##oo##oo##oo#",
    ".........#oo##oo##oo##oo#",
    ".........#oooooooooooooo#",
    "...##....#oooooooooooooo#",
    "..#oo#...#oooooooooooooo#",
    "..#ooo#..#oooooooooooooo#",
    "...#ooo#.#oooooooooooooo#",
    "....#ooo##oooooooooooooo#",
    ".....#oooooooooooooooooo#",
    "......#ooooooooooooooooo#",
    ".......#oooooooooooooooo#",
    "........#ooooooooooooo#",
    ".........#oooooooooooo#",
    "..........#ooooooooooo#",
    "..........#############",
};

template <size_t N>
CursorPicture MakePicture(const std::string_view (&rows)[N], int hotX, int hotY)
{
    static_assert(N <= CursorPicture::kSize);
    CursorPicture picture;
    picture.hotX = hotX;
    picture.hotY = hotY;
    picture.andMask.fill(0xFF);
    for (size_t y = 0; y < N; ++y) {
        for (size_t x = 0; x < rows[y].size() && x < CursorPicture::kSize; ++x) {
            const char c = rows[y][x];
            if (c != '#' && c != 'o')
                continue;
            const size_t byte = y * (CursorPicture::kSize / 8) + x / 8;
            const auto bit = static_cast<uint8_t>(0x80u >> (x % 8));
            picture.andMask[byte] = static_cast<uint8_t>(picture.andMask[byte] & ~bit);
            if (c == 'o')
                picture.xorMask[byte] = static_cast<uint8_t>(picture.xorMask[byte] | bit);
        }
    }
    return picture;
}

} // namespace

const CursorPicture& HandCursorPicture()
{
    static const CursorPicture picture = MakePicture(kHandRows, 11, 4);
    return picture;
}

const CursorPicture& DragCursorPicture()
{
    static const CursorPicture picture = MakePicture(kDragRows, 15, 10);
    return picture;
}

} // namespace Tandry
