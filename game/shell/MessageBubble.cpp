#include "game/shell/MessageBubble.h"

#include "game/shell/GuiLayout.h"
#include "game/shell/ReadingTime.h"
#include "graphics/context/Graphics.h"
#include "graphics/display/DDImage.h"

namespace Tandry {
namespace {

// The nine-part rule along one axis: the first and last third of the picture
// stay at the ends of the box, and everything between reads the picture's
// middle from its start.
int NinePartSource(int position, int boxSize, int imageSize)
{
    const int third = imageSize / 3;
    if (position < third)
        return position;
    if (position > boxSize - third)
        return position + imageSize - boxSize;
    return third;
}

} // namespace

void MessageBubble::Init(GuiLayout* layout)
{
    GuiLayoutEntry* entry = layout != nullptr ? layout->FindEntry("bubble") : nullptr;
    frameImage = entry != nullptr ? entry->image : nullptr;
    const Rect place = layout != nullptr ? layout->GetEntryRect("bubble", true) : Rect();
    anchor = Point(place.x, place.y + place.height);
    x = anchor.x;
    y = anchor.y;
    width = 0;
    height = 0;
}

float MessageBubble::DefaultShowTime(const std::wstring& newText) const
{
    return ReadingTime(newText);
}

void MessageBubble::FitText(int textWidth, int textHeight)
{
    if (text.empty()) {
        width = 0;
        height = 0;
        return;
    }
    height = textHeight + kInsetTop + kInsetBottom;
    width = textWidth + kInsetLeft + kInsetRight + 2;
    x = anchor.x;
    y = anchor.y - height;
}

void MessageBubble::Draw(Graphics* g)
{
    if (frameImage != nullptr) {
        g->SetColorizeImages(true);
        g->SetColor(Color::White.WithAlpha(fade));
        g->DrawImageBoxPart(Rect(0, 0, width, height), Rect(0, 0, frameImage->mWidth, frameImage->mHeight),
                            frameImage);
        g->SetColorizeImages(false);
    }
    DrawFadedText(g, kInsetLeft, kInsetTop, kWrapWidth);
}

void MessageBubble::MouseDown(int /*mouseX*/, int /*mouseY*/, int /*button*/, int /*clickCount*/)
{
    Show(std::wstring(), 0.0f);
}

bool MessageBubble::HitTestPoint(int localX, int localY)
{
    if (fade == 0.0f || frameImage == nullptr)
        return false;
    const int sourceX = NinePartSource(localX, width, frameImage->mWidth);
    const int sourceY = NinePartSource(localY, height, frameImage->mHeight);
    return (frameImage->GetPixel(sourceX, sourceY) >> 24) > 10;
}

} // namespace Tandry
