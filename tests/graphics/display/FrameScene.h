// One frame drawn through the drawing context onto a display's screen image,
// with the software cursor over it, and the same frame worked out by hand:
// an opaque fill, a rectangle outline, an opaque 64 x 64 image and a 32 x 32
// red cursor at (600, 600). Every colour has channels of 0 or 255.
#pragma once

#include "graphics/context/Graphics.h"
#include "graphics/display/DDImage.h"
#include "graphics/display/DDInterface.h"
#include "graphics/display/SurfaceConverter.h"
#include "graphics/image/MemoryImage.h"
#include "graphics/types/Color.h"
#include "platform/ddraw/DDrawPixelFormat.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace DisplayTest {

// What the window should show of an ARGB picture on this display: each
// colour converted to the display's format and read back.
inline std::vector<uint32_t> AsShown(const Tandry::DDInterface& display, const std::vector<uint32_t>& picture)
{
    const Tandry::SurfaceConverter converter(display, static_cast<uint32_t>(display.mRedMask),
                                             static_cast<uint32_t>(display.mGreenMask),
                                             static_cast<uint32_t>(display.mBlueMask));
    std::vector<uint32_t> shown;
    shown.reserve(picture.size());
    for (uint32_t pixel : picture)
        shown.push_back(converter.ToArgb(converter.ToSurface(pixel)));
    return shown;
}

// The scene runs on a 32-bit and a 565 desktop, windowed and full screen
// (the full-screen mode has the desktop's depth).
struct FrameCase {
    Platform::DDrawFormat desktop;
    bool windowed;
    int FullScreenBits() const { return desktop == Platform::DDrawFormat::R5G6B5 ? 16 : 32; }
};

inline constexpr FrameCase kFrameCases[] = {
    {Platform::DDrawFormat::X8R8G8B8, true},
    {Platform::DDrawFormat::R5G6B5, true},
    {Platform::DDrawFormat::X8R8G8B8, false},
    {Platform::DDrawFormat::R5G6B5, false},
};

class FrameScene {
public:
    static constexpr int kWidth = 1024;
    static constexpr int kHeight = 768;

    FrameScene()
    {
        for (int y = 0; y < 64; ++y) {
            for (int x = 0; x < 64; ++x)
                mSquare.push_back((x + y) % 2 != 0 ? 0xFF00FF00u : 0xFFFFFFFFu);
        }
        mCursor = std::make_unique<Tandry::MemoryImage>();
        const std::vector<uint32_t> red(32 * 32, 0xFFFF0000u);
        mCursor->SetBits(red.data(), 32, 32, true);
    }

    // Draws the frame and sets the cursor; the display must be up.
    void Draw(Tandry::DDInterface& display)
    {
        Tandry::Graphics g(display.mScreenImage);
        Paint(g, display);
        ShowCursor(display);
    }

    // The frame without the cursor, through g (whose origin is the screen's).
    void Paint(Tandry::Graphics& g, Tandry::DDInterface& display) const
    {
        Tandry::DDImage image(&display);
        image.SetBits(mSquare.data(), 64, 64, true);
        g.SetColor(Tandry::Color(0, 0, 255));
        g.FillRect(0, 0, kWidth, kHeight);
        g.SetColor(Tandry::Color(255, 255, 0));
        g.DrawRect(100, 50, 200, 100);
        g.DrawImage(&image, 500, 400);
    }

    void ShowCursor(Tandry::DDInterface& display) const
    {
        display.SetCursorImage(mCursor.get());
        display.mCursorX = 600;
        display.mCursorY = 600;
    }

    // The frame as ARGB words, before the display's format is applied.
    std::vector<uint32_t> Expected() const
    {
        // An opaque fill stores a channel of 255 as 254 in an 8-bit field
        // (and as the full field in a 5- or 6-bit one, which reads back the same).
        std::vector<uint32_t> picture(size_t{kWidth} * kHeight, 0xFF0000FEu);
        const auto at = [&](int x, int y) -> uint32_t& { return picture[static_cast<size_t>(y) * kWidth + x]; };
        for (int x = 100; x <= 300; ++x)
            at(x, 50) = at(x, 150) = 0xFFFEFE00u;
        for (int y = 50; y <= 150; ++y)
            at(100, y) = at(300, y) = 0xFFFEFE00u;
        for (int y = 0; y < 64; ++y) {
            for (int x = 0; x < 64; ++x)
                at(500 + x, 400 + y) = mSquare[static_cast<size_t>(y) * 64 + x];
        }
        for (int y = 584; y < 616; ++y) {
            for (int x = 584; x < 616; ++x)
                at(x, y) = 0xFFFF0000u;
        }
        return picture;
    }

private:
    std::vector<uint32_t> mSquare;
    std::unique_ptr<Tandry::MemoryImage> mCursor;
};

} // namespace DisplayTest
