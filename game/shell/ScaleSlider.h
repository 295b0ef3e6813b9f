// The options panel's slider: scaled about its centre and tinted with the
// panel as it pops in and fades, always at whole pixels. Without a track or
// thumb picture (data may lack one) it draws nothing and takes no hits.
#pragma once

#include "graphics/types/Color.h"
#include "graphics/types/Point.h"
#include "widgets/Slider.h"

namespace Tandry {

class MemoryImage;

class ScaleSlider : public Slider {
public:
    // The pictures are not owned.
    ScaleSlider(MemoryImage* track, MemoryImage* thumb, int sliderId, SliderListener* sliderListener);
    ~ScaleSlider() override;

    // The centre is scaled about the anchor and the slider moved there, at
    // the floor of the result. The position is written directly, so center
    // keeps the unscaled centre.
    void SetScale(float newScale, int anchorX, int anchorY);

    using Slider::Resize;
    // Also stores the unscaled centre.
    void Resize(int newX, int newY, int newWidth, int newHeight) override;
    void Draw(Graphics* g) override;
    bool HitTestPoint(int localX, int localY) override;

    float scale = 1.0f;
    Color tint{255, 255, 255, 255};
    // In the parent's coordinates.
    Point center;
};

} // namespace Tandry
