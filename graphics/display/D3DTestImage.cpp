#include "graphics/display/D3DTestImage.h"

#include <algorithm>

namespace Tandry {

namespace {

constexpr int kCheckSize = 10;
constexpr int kStripeCheckSize = 62;

int Channel(uint32_t color, int shift)
{
    return static_cast<int>(color >> shift & 0xFF);
}

uint32_t StripeColor(int x)
{
    return x % 2 == 1 ? kStripeWhite : kStripeBlack;
}

} // namespace

int ColorDistanceSquared(uint32_t a, uint32_t b)
{
    int sum = 0;
    for (int shift : {16, 8, 0}) {
        const int delta = Channel(a, shift) - Channel(b, shift);
        sum += delta * delta;
    }
    return sum;
}

D3DTestImage::D3DTestImage()
{
    Resize(64, 64);
}

void D3DTestImage::Resize(int width, int height)
{
    mBits.clear();
    mBits.shrink_to_fit();
    mWidth = width;
    mHeight = height;
    if (width > 0 && height > 0)
        mBits.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    else
        mWidth = mHeight = 0;
}

void D3DTestImage::FillColumns(int x, int w, int h, uint32_t color)
{
    const int left = std::max(x, 0);
    const int right = std::min(x + w, mWidth);
    const int bottom = std::min(h, mHeight);
    for (int y = 0; y < bottom; ++y) {
        for (int column = left; column < right; ++column)
            SetPixel(column, y, color);
    }
}

void D3DTestImage::FillStripes()
{
    for (int x = 0; x < mWidth; ++x)
        FillColumns(x, 1, mHeight, StripeColor(x));
}

bool D3DTestImage::CheckColor(uint32_t expected, int* count) const
{
    // A picture smaller than the checked corner is checked where it has pixels.
    const int width = std::min(kCheckSize, mWidth);
    const int height = std::min(kCheckSize, mHeight);
    int wrong = 0;
    bool alike = true;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint32_t pixel = GetPixel(x, y);
            if (ColorDistanceSquared(pixel, expected) > kTestColorTolerance)
                ++wrong;
            if (pixel != GetPixel(0, 0))
                alike = false;
        }
    }
    if (count != nullptr)
        *count = wrong;
    return alike;
}

int D3DTestImage::CountStripeErrors() const
{
    const int width = std::min(kStripeCheckSize, mWidth);
    const int height = std::min(kStripeCheckSize, mHeight);
    int errors = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (ColorDistanceSquared(GetPixel(x, y), StripeColor(x)) > kTestColorTolerance)
                ++errors;
        }
    }
    return errors;
}

TestVerdict JudgeBlendTest(const D3DTestImage& image, uint32_t expected)
{
    int wrong = 0;
    const bool alike = image.CheckColor(expected, &wrong);
    if (wrong > 0)
        return TestVerdict::Wrong;
    return alike ? TestVerdict::Pass : TestVerdict::Uneven;
}

} // namespace Tandry
