// The two cursors the application makes at start-up: a pointing hand (hot
// spot on the fingertip) and an open hand for dragging (hot spot in the
// palm). Each is a 32 x 32 monochrome picture as AND and XOR masks, rows of
// four bytes, most significant bit first: AND 1 leaves the screen, AND 0 with
// XOR 0 draws black, AND 0 with XOR 1 draws white.
#pragma once

#include <array>
#include <cstdint>

namespace Tandry {

struct CursorPicture {
    static constexpr int kSize = 32;
    static constexpr int kMaskBytes = kSize * kSize / 8;

    int hotX = 0;
    int hotY = 0;
    std::array<uint8_t, kMaskBytes> andMask{};
    std::array<uint8_t, kMaskBytes> xorMask{};
};

const CursorPicture& HandCursorPicture();
const CursorPicture& DragCursorPicture();

} // namespace Tandry
