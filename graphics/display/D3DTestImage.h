// The picture the Direct3D capability test draws and reads back: 32-bit ARGB
// pixels with the fills the tests draw and the checks they judge the read-back
// by. The checks are pure functions of the pixels, so the judgement can be
// tried on made-up pictures. Used by D3DTester.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Tandry {

class D3DTestImage {
public:
    // A new test image is 64 x 64.
    D3DTestImage();
    virtual ~D3DTestImage() = default;

    // Drops the pixels; new ones (zero) only when both sizes are above 0.
    void Resize(int width, int height);
    // Columns x .. x + w - 1 of rows 0 .. h - 1, cut to the image.
    void FillColumns(int x, int w, int h, uint32_t color);
    // Odd columns white, even ones opaque black: the clipping test's picture.
    void FillStripes();
    // Over the top-left 10 x 10 pixels: count receives how many lie farther
    // than the tolerance from expected; the result is whether they are all
    // identical to the first one.
    bool CheckColor(uint32_t expected, int* count) const;
    // Pixels of the top-left 62 x 62 farther than the tolerance from their
    // column's stripe colour.
    int CountStripeErrors() const;

    uint32_t GetPixel(int x, int y) const { return mBits[static_cast<size_t>(y) * mWidth + x]; }
    void SetPixel(int x, int y, uint32_t color) { mBits[static_cast<size_t>(y) * mWidth + x] = color; }

    std::vector<uint32_t> mBits;
    int mWidth = 0;
    int mHeight = 0;
};

// Squared distance of the red, green and blue channels; alpha does not count.
int ColorDistanceSquared(uint32_t a, uint32_t b);
// Two colours closer than this (or at it) count as the same.
inline constexpr int kTestColorTolerance = 768;
inline constexpr uint32_t kStripeWhite = 0xFFFFFFFF;
inline constexpr uint32_t kStripeBlack = 0xFF000000;

// What a blend test's read-back says.
enum class TestVerdict {
    Pass,
    // Every pixel close to the expected colour, but not all alike.
    Uneven,
    // Some pixel off the expected colour.
    Wrong,
};
TestVerdict JudgeBlendTest(const D3DTestImage& image, uint32_t expected);

} // namespace Tandry
