#include "game/shell/ScaleButton.h"

#include "graphics/context/Graphics.h"
#include "graphics/image/Image.h"
#include "graphics/types/Transform.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace Tandry {

namespace {

// The whole part and the fraction in [0, 1) of a position; a place that is
// not a finite int-range number keeps the old whole part.
void SplitPosition(double position, int& whole, float& fraction)
{
    const double floored = std::floor(position);
    if (!(floored >= static_cast<double>(INT32_MIN) && floored <= static_cast<double>(INT32_MAX))) {
        fraction = 0.0f;
        return;
    }
    whole = static_cast<int>(floored);
    fraction = static_cast<float>(position - floored);
}

} // namespace

ScaleButton::ScaleButton(int buttonId, ButtonListener* buttonListener) : TGameButton(buttonId, buttonListener) {}

void ScaleButton::SetImages(GuiLayoutEntry* normal, GuiLayoutEntry* over)
{
    TGameButton::SetImages(normal, over);
    center = Point(x + width / 2, y + height / 2);
}

void ScaleButton::SetScale(float newScale, bool reposition, int anchorX, int anchorY)
{
    scale = newScale;
    if (!reposition)
        return;
    const double fx = static_cast<double>(newScale * static_cast<float>(center.x - anchorX)) + anchorX - width / 2;
    const double fy = static_cast<double>(newScale * static_cast<float>(center.y - anchorY)) + anchorY - height / 2;
    SplitPosition(fx, x, subPixelOffset.x);
    SplitPosition(fy, y, subPixelOffset.y);
}

void ScaleButton::DrawButtonImage(Graphics* g, Image* image, const Rect& /*source*/, int imageX, int imageY)
{
    if (image == nullptr)
        return;
    g->PushState();
    if (!g->mColorizeImages)
        g->SetColor(Color(255, 255, 255, 255));
    g->SetColorizeImages(true);
    g->SetColor(Color::Multiply(tint, g->mColor));

    Transform transform;
    transform.Translate(static_cast<float>(imageX) + static_cast<float>(image->mWidth) * 0.5f + subPixelOffset.x,
                        static_cast<float>(imageY) + static_cast<float>(image->mHeight) * 0.5f + subPixelOffset.y);
    if (g->mScaleX != 1.0f || g->mScaleY != 1.0f) {
        const float originX = g->mScaleOrigX - g->mTransX;
        const float originY = g->mScaleOrigY - g->mTransY;
        transform.Translate(-originX, -originY);
        transform.Scale(g->mScaleX, g->mScaleY);
        transform.Translate(originX, originY);
    }
    g->DrawImageTransformedPart(image, transform, Rect(0, 0, image->mWidth, image->mHeight), 0.0f, 0.0f, false);
    g->PopState();
}

void ScaleButton::Draw(Graphics* g)
{
    g->PushState();
    g->SetScale(scale, scale, g->mTransX + static_cast<float>(width) * 0.5f,
                g->mTransY + static_cast<float>(height) * 0.5f);
    // A button that grows past its rectangle is not cut.
    if (g->mDestImage != nullptr)
        g->mClipRect = Rect(0, 0, g->mDestImage->mWidth, g->mDestImage->mHeight);

    // The tint applies to the label for this draw only; the owner's colours
    // come back whole afterwards. Written in place: a draw marks nothing dirty.
    const std::vector<Color> saved = colors;
    const Color tintedLabel = Color::Multiply(GetColor(kLabelColor), tint);
    const Color labelOver = Color::Multiply(GetColor(kLabelOverColor), tint);
    if (colors.size() <= static_cast<size_t>(kLabelOverColor))
        colors.resize(kLabelOverColor + 1, Color(0, 0, 0, 255));
    colors[kLabelColor] = tintedLabel;
    colors[kLabelOverColor] = labelOver;
    TGameButton::Draw(g);
    colors = saved;
    g->PopState();
}

bool ScaleButton::HitTestPoint(int localX, int localY)
{
    // A button popping in starts at scale 0: it takes no hits until it has a
    // size, and the mapped point is checked before it becomes an int.
    if (!(scale > 0.0f))
        return false;
    const double cx = width * 0.5;
    const double cy = height * 0.5;
    const double mappedX = cx - (cx - localX) / scale;
    const double mappedY = cy - (cy - localY) / scale;
    if (!(mappedX > -1.0 && mappedX < width && mappedY > -1.0 && mappedY < height))
        return false;
    return TGameButton::HitTestPoint(static_cast<int>(mappedX), static_cast<int>(mappedY));
}

} // namespace Tandry
