#include "widgets/Slider.h"

#include "graphics/context/Graphics.h"
#include "graphics/image/Image.h"
#include "util/SaturatingTrunc.h"
#include "widgets/SliderListener.h"
#include "widgets/WidgetHost.h"
#include "widgets/WidgetManager.h"

#include <cmath>
#include <cstdint>

namespace Tandry {

namespace {

constexpr int kArrowCursor = 0;
constexpr int kDragCursor = 2;

double ClampUnit(double v)
{
    if (std::isnan(v) || v < 0.0)
        return 0.0;
    return v > 1.0 ? 1.0 : v;
}

} // namespace

Slider::Slider(Image* track, Image* thumb, int sliderId, SliderListener* sliderListener)
    : listener(sliderListener), id(sliderId), trackImage(track), thumbImage(thumb)
{
}

void Slider::SetValue(double newValue)
{
    value = ClampUnit(newValue);
    MarkAreaDirty();
}

bool Slider::HasTransparentParts()
{
    return true;
}

int Slider::Length() const
{
    return horizontal ? width : height;
}

int Slider::ThumbLength() const
{
    if (thumbImage == nullptr)
        return 0;
    return horizontal ? thumbImage->mWidth : thumbImage->mHeight;
}

int Slider::ThumbPosition() const
{
    return SaturatingTrunc(value * (static_cast<double>(Length()) - ThumbLength()));
}

int Slider::Along(int mouseX, int mouseY) const
{
    return horizontal ? mouseX : mouseY;
}

bool Slider::OnThumb(int coordinate) const
{
    const int64_t start = ThumbPosition();
    return coordinate >= start && coordinate < start + ThumbLength();
}

void Slider::ShowCursor(int kind)
{
    if (manager == nullptr || manager->app == nullptr)
        return;
    manager->app->SetCursorKind(kind);
    manager->app->ApplyCursor();
}

void Slider::MouseDown(int mouseX, int mouseY, int /*clickCount*/)
{
    const int coordinate = Along(mouseX, mouseY);
    if (OnThumb(coordinate)) {
        ShowCursor(kDragCursor);
        dragging = true;
        (horizontal ? relX : relY) = coordinate - ThumbPosition();
        return;
    }
    // The thumb jumps to the click; the listener hears of it on the release.
    const int length = Length();
    SetValue(length > 0 ? static_cast<double>(coordinate) / length : 0.0);
}

void Slider::MouseDrag(int mouseX, int mouseY)
{
    if (!dragging)
        return;
    const double grabbed = static_cast<double>(Along(mouseX, mouseY)) - (horizontal ? relX : relY);
    // A thumb as long as the slider leaves nowhere to move it.
    const double span = static_cast<double>(Length()) - ThumbLength();
    const double newValue = span > 0.0 ? ClampUnit(grabbed / span) : 0.0;
    if (newValue == value)
        return;
    value = newValue;
    if (listener != nullptr)
        listener->SliderValueChanged(id, value);
    MarkAreaDirty();
}

void Slider::MouseUp(int /*mouseX*/, int /*mouseY*/)
{
    dragging = false;
    ShowCursor(kArrowCursor);
    if (listener != nullptr)
        listener->SliderValueChanged(id, value);
}

void Slider::MouseMove(int mouseX, int mouseY)
{
    ShowCursor(OnThumb(Along(mouseX, mouseY)) ? kDragCursor : kArrowCursor);
}

void Slider::MouseLeave()
{
    if (!dragging)
        ShowCursor(kArrowCursor);
}

void Slider::DrawTrack(Graphics* g)
{
    Image* track = trackImage;
    if (horizontal) {
        const int cw = track->mWidth / 3;
        const int ch = track->mHeight;
        const int y0 = (height - ch) / 2;
        g->DrawImagePart(track, 0, y0, Rect(0, 0, cw, ch));
        // A track narrower than three pixels has no middle cell to repeat.
        if (cw > 0) {
            Graphics middle(*g);
            middle.ClipRect(cw, y0, width - 2 * cw, ch);
            const int copies = (width - cw - 1) / cw;
            for (int i = 1; i <= copies; ++i)
                middle.DrawImagePart(track, i * cw, y0, Rect(cw, 0, cw, ch));
        }
        g->DrawImagePart(track, width - cw, y0, Rect(2 * cw, 0, cw, ch));
        return;
    }
    const int cw = track->mWidth;
    const int ch = track->mHeight / 3;
    g->DrawImagePart(track, 0, 0, Rect(0, 0, cw, ch));
    if (ch > 0) {
        Graphics middle(*g);
        middle.ClipRect(0, ch, cw, height - 2 * ch);
        const int copies = (height - ch - 1) / ch;
        for (int i = 1; i <= copies; ++i)
            middle.DrawImagePart(track, 0, i * ch, Rect(0, ch, cw, ch));
    }
    g->DrawImagePart(track, 0, height - ch, Rect(0, 2 * ch, cw, ch));
}

void Slider::Draw(Graphics* g)
{
    if (trackImage != nullptr)
        DrawTrack(g);
    if (thumbImage == nullptr)
        return;
    const int position = ThumbPosition();
    if (horizontal)
        g->DrawImage(thumbImage, position, (height - thumbImage->mHeight) / 2);
    else
        g->DrawImage(thumbImage, (width - thumbImage->mWidth) / 2, position);
}

} // namespace Tandry
