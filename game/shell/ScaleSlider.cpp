#include "game/shell/ScaleSlider.h"

#include "graphics/context/Graphics.h"
#include "graphics/image/MemoryImage.h"

#include <cmath>
#include <cstdint>

namespace Tandry {

namespace {

// The floor of a place, or the old place when it is not a finite int.
int FloorPlace(double place, int old)
{
    const double floored = std::floor(place);
    if (!(floored >= static_cast<double>(INT32_MIN) && floored <= static_cast<double>(INT32_MAX)))
        return old;
    return static_cast<int>(floored);
}

} // namespace

ScaleSlider::ScaleSlider(MemoryImage* track, MemoryImage* thumb, int sliderId, SliderListener* sliderListener)
    : Slider(track, thumb, sliderId, sliderListener)
{
}

ScaleSlider::~ScaleSlider() = default;

void ScaleSlider::SetScale(float newScale, int anchorX, int anchorY)
{
    scale = newScale;
    x = FloorPlace(static_cast<double>(newScale * static_cast<float>(center.x - anchorX)) + anchorX - width / 2, x);
    y = FloorPlace(static_cast<double>(newScale * static_cast<float>(center.y - anchorY)) + anchorY - height / 2, y);
}

void ScaleSlider::Resize(int newX, int newY, int newWidth, int newHeight)
{
    Slider::Resize(newX, newY, newWidth, newHeight);
    center = Point(x + width / 2, y + height / 2);
}

void ScaleSlider::Draw(Graphics* g)
{
    if (trackImage == nullptr || thumbImage == nullptr)
        return;
    g->PushState();
    g->SetScale(scale, scale, g->mTransX + static_cast<float>(width) * 0.5f,
                g->mTransY + static_cast<float>(height) * 0.5f);
    g->SetColorizeImages(true);
    g->SetColor(tint);
    Slider::Draw(g);
    g->PopState();
}

bool ScaleSlider::HitTestPoint(int localX, int localY)
{
    return trackImage != nullptr && thumbImage != nullptr && Slider::HitTestPoint(localX, localY);
}

} // namespace Tandry
