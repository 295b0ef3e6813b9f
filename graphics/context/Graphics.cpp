#include "graphics/context/Graphics.h"

#include <algorithm>

#include "graphics/context/GraphicsTrunc.h"
#include "graphics/display/IsImage3DScreen.h"
#include "graphics/image/Image.h"
#include "graphics/types/PopScaleCurve.h"

namespace Tandry {

namespace {

int ClampChannel(int64_t value)
{
    return static_cast<int>(std::clamp<int64_t>(value, 0, 255));
}

} // namespace

Graphics::Graphics(Image* destImage)
{
    if (destImage == nullptr) {
        mDestImage = SharedEmptyImage();
        mIs3DScreen = false;
    } else {
        mDestImage = destImage;
        mIs3DScreen = IsImage3DScreen(destImage);
    }
    mClipRect = WholeImage(mDestImage);
}

Graphics::Graphics(const Graphics& other) : GraphicsState(other) {}

Graphics* Graphics::Create(Image* destImage)
{
    return new Graphics(destImage);
}

Graphics* Graphics::Clone() const
{
    return new Graphics(*this);
}

Image* Graphics::SharedEmptyImage()
{
    static Image emptyImage;
    return &emptyImage;
}

void Graphics::Translate(int dx, int dy)
{
    mTransX += static_cast<float>(dx);
    mTransY += static_cast<float>(dy);
}

void Graphics::SetScale(float scaleX, float scaleY, float originX, float originY)
{
    mScaleX = scaleX;
    mScaleY = scaleY;
    mScaleOrigX = originX;
    mScaleOrigY = originY;
}

void Graphics::MultiplyColor(const Color& c)
{
    mColor = Color::Multiply(c, mColor);
}

void Graphics::SetClipRect(int x, int y, int width, int height)
{
    const Rect wanted(TruncToInt(mTransX + static_cast<float>(x)), TruncToInt(mTransY + static_cast<float>(y)),
                      width, height);
    mClipRect = Rect::Intersection(wanted, WholeImage(mDestImage));
}

void Graphics::SetClipRect(const Rect& rect)
{
    SetClipRect(rect.x, rect.y, rect.width, rect.height);
}

void Graphics::ClipRect(int x, int y, int width, int height)
{
    const Rect wanted(TruncToInt(mTransX + static_cast<float>(x)), TruncToInt(mTransY + static_cast<float>(y)),
                      width, height);
    mClipRect = Rect::Intersection(mClipRect, wanted);
}

void Graphics::PushState()
{
    mStateStack.push_back(*this);
}

void Graphics::PopState()
{
    if (mStateStack.empty())
        return;
    static_cast<GraphicsState&>(*this) = mStateStack.back();
    mStateStack.pop_back();
}

void Graphics::SetPopInEffect(float t, int width, int height)
{
    mColorizeImages = true;

    const int grey = ClampChannel(100 - static_cast<int64_t>(TruncToInt(t * -155.0)));
    const int alpha = ClampChannel(TruncToInt(t * 255.0));
    mColor = Color(grey, grey, grey, alpha);

    const float scale = PopScaleCurve(t);
    mScaleX = scale;
    mScaleY = scale;
    mScaleOrigX = static_cast<float>(width) * 0.5f + mTransX;
    mScaleOrigY = static_cast<float>(height) * 0.5f + mTransY;

    // The clip grows about its centre to at least twice its size. The image
    // operations write wherever the clip lets them, so it is then held inside
    // the destination.
    const int64_t newWidth =
        std::max<int64_t>(mClipRect.width, static_cast<int64_t>(TruncToInt(scale * static_cast<float>(mClipRect.width))) + 1);
    const int64_t newHeight = std::max<int64_t>(
        mClipRect.height, static_cast<int64_t>(TruncToInt(scale * static_cast<float>(mClipRect.height))) + 1);
    const int64_t left = mClipRect.x + newWidth / -2;
    const int64_t top = mClipRect.y + newHeight / -2;
    const int64_t right = left + mClipRect.width + newWidth;
    const int64_t bottom = top + mClipRect.height + newHeight;
    const Rect bounds = WholeImage(mDestImage);
    const int64_t clippedLeft = std::max<int64_t>(left, bounds.x);
    const int64_t clippedTop = std::max<int64_t>(top, bounds.y);
    const int64_t clippedRight = std::min<int64_t>(right, bounds.width);
    const int64_t clippedBottom = std::min<int64_t>(bottom, bounds.height);
    if (clippedRight < clippedLeft || clippedBottom < clippedTop) {
        mClipRect = Rect();
        return;
    }
    mClipRect = Rect(static_cast<int32_t>(clippedLeft), static_cast<int32_t>(clippedTop),
                     static_cast<int32_t>(clippedRight - clippedLeft),
                     static_cast<int32_t>(clippedBottom - clippedTop));
}

const Color& Graphics::ImageColor() const
{
    return mColorizeImages ? mColor : Color::White;
}

} // namespace Tandry
