#include "game/shell/TGameButton.h"

#include "game/shell/GlobalResources.h"
#include "game/shell/GuiLayoutEntry.h"
#include "game/shell/PictureHit.h"
#include "game/shell/UiSound.h"
#include "graphics/context/Graphics.h"
#include "graphics/display/DDImage.h"
#include "graphics/image/MemoryImage.h"
#include "graphics/types/Rect.h"

#include <algorithm>
#include <cstdint>

namespace Tandry {

namespace {

// An entry counts only when its picture loaded: layouts come from data that
// may lack a file.
MemoryImage* PictureOf(GuiLayoutEntry* entry)
{
    return entry != nullptr ? entry->image : nullptr;
}

// Whether the picture placed at offset has a pixel that is not fully
// transparent under the point.
bool OpaqueAt(MemoryImage* picture, const Point& offset, int localX, int localY)
{
    return PictureHitAt(picture, int64_t{localX} - offset.x, int64_t{localY} - offset.y);
}

int32_t ClampToInt(int64_t value)
{
    return static_cast<int32_t>(std::min<int64_t>(value, INT32_MAX));
}

} // namespace

TGameButton::TGameButton(int buttonId, ButtonListener* buttonListener) : ButtonWidget(buttonId, buttonListener) {}

TGameButton::~TGameButton() = default;

bool TGameButton::PlaysSounds()
{
    return playsSounds;
}

void TGameButton::SetImages(GuiLayoutEntry* normal, GuiLayoutEntry* over)
{
    MemoryImage* normalLook = PictureOf(normal);
    MemoryImage* overLook = PictureOf(over);
    // The button draws them from now on.
    if (normalLook != nullptr) {
        normal->drawFlag = false;
        if (overLook != nullptr)
            over->drawFlag = false;
    }
    SetImagesAt(normalLook, normalLook != nullptr ? Point(normal->x, normal->y) : Point(), overLook,
                overLook != nullptr ? Point(over->x, over->y) : Point());
}

void TGameButton::SetImagesAt(MemoryImage* normal, const Point& normalAt, MemoryImage* over, const Point& overAt)
{
    overAlpha = 0.5;
    overAlphaFadeOutSpeed = 0.05;
    overAlphaFadeInSpeed = 0.05;
    frameNoDraw = true;
    SetFont(FONT_DEFAULT);
    SetColor(kLabelColor, Color(0xA0FFFFFFu));
    SetColor(kLabelOverColor, Color(0xD0FFFFFFu));
    if (normal == nullptr)
        return;

    normalPicture = normal;
    buttonImage = normal;
    // An over picture of an earlier set-up may belong to a layout that is gone.
    overPicture = over;
    overImage = over;
    overOffset = Point();
    Rect rect(normalAt.x, normalAt.y, normal->mWidth, normal->mHeight);
    if (over != nullptr) {
        // Layout places may be anywhere in the int range: the far edges are
        // summed wide and the size kept within int.
        const int64_t left = std::min(normalAt.x, overAt.x);
        const int64_t top = std::min(normalAt.y, overAt.y);
        const int64_t right = std::max<int64_t>(int64_t{normalAt.x} + normal->mWidth, int64_t{overAt.x} + over->mWidth);
        const int64_t bottom =
            std::max<int64_t>(int64_t{normalAt.y} + normal->mHeight, int64_t{overAt.y} + over->mHeight);
        rect = Rect(static_cast<int32_t>(left), static_cast<int32_t>(top), ClampToInt(right - left),
                    ClampToInt(bottom - top));
        overOffset = Point(ClampToInt(int64_t{overAt.x} - rect.x), ClampToInt(int64_t{overAt.y} - rect.y));
    }
    normalOffset = Point(ClampToInt(int64_t{normalAt.x} - rect.x), ClampToInt(int64_t{normalAt.y} - rect.y));
    Resize(rect);
}

void TGameButton::Draw(Graphics* g)
{
    g->SetDrawMode(DRAWMODE_NORMAL);
    ButtonWidget::Draw(g);
    if (highlightColor == Color(0, 0, 0, 255))
        return;
    g->SetDrawMode(DRAWMODE_ADDITIVE);
    g->SetColorizeImages(true);
    g->SetColor(highlightColor);
    ButtonWidget::Draw(g);
    g->SetDrawMode(DRAWMODE_NORMAL);
    g->SetColorizeImages(false);
}

void TGameButton::MouseEnter()
{
    ButtonWidget::MouseEnter();
    if (PlaysSounds())
        PlayUiSound(kUiSoundButtonEnter);
}

void TGameButton::MouseDown(int mouseX, int mouseY, int button, int clickCount)
{
    if (button != 0) {
        isDown = false;
        return;
    }
    if (PlaysSounds())
        PlayUiSound(kUiSoundButtonPress);
    ButtonWidget::MouseDown(mouseX, mouseY, 0, clickCount);
}

void TGameButton::MouseUp(int mouseX, int mouseY, int button, int clickCount)
{
    // The release of a button that pressed nothing clicks nothing either.
    if (button != 0)
        return;
    ButtonWidget::MouseUp(mouseX, mouseY, button, clickCount);
}

bool TGameButton::HitTestPoint(int localX, int localY)
{
    if (isOver && overPicture != nullptr)
        return OpaqueAt(overPicture, overOffset, localX, localY);
    if (normalPicture == nullptr)
        return true;
    return OpaqueAt(normalPicture, normalOffset, localX, localY);
}

} // namespace Tandry
