// The game's cursor kinds: the system cursor picture and the overlay drawn
// over it, and the lock the quest scenes hold while an item is dragged.
#include "game/shell/GameApp.h"

#include "game/shell/CursorWidget.h"
#include "game/shell/GlobalResources.h"
#include "graphics/display/DDImage.h"
#include "graphics/image/MemoryImage.h"

namespace Tandry {

namespace {

// The hand: it never pulses, and while the cursor is locked it shows its
// alternate picture (the dragging hand).
constexpr int kHandKind = 4;
// The framework's first custom cursor slots; the kinds the widgets set
// while the game's picture shows read these.
constexpr size_t kGameCursorSlots = 4;
// A pulsing overlay breathes between this and its full size.
constexpr float kPulseLimit = 0.9f;

struct CursorLook {
    // Null: the framework's own cursor of the kind.
    MemoryImage* systemImage = nullptr;
    Image* overlay = nullptr;
    Image* altOverlay = nullptr;
    bool pulse = false;
};

// The cursor pictures come from the resource manager as images; only memory
// images can be the display's cursor, any other one gives the default cursor.
MemoryImage* AsCursorImage(Image* image)
{
    return dynamic_cast<MemoryImage*>(image);
}

CursorLook LookOfKind(int kind, MemoryImage* blank)
{
    switch (kind) {
    case 0:
        return {blank, nullptr, nullptr, false};
    case 1:
        return {AsCursorImage(IMAGE_CURSOR_ARROW), nullptr, nullptr, false};
    case 2:
        return {AsCursorImage(IMAGE_CURSOR_ARROW_RED), nullptr, nullptr, false};
    case 3:
        return {blank, IMAGE_CURSOR_DOOR, nullptr, true};
    case kHandKind:
        return {blank, IMAGE_CURSOR_HAND, IMAGE_CURSOR_HAND2, false};
    case 5:
        return {blank, IMAGE_CURSOR_MAGNIFIER, nullptr, true};
    case 6:
        return {AsCursorImage(IMAGE_CURSOR_AIM), nullptr, nullptr, false};
    case 7:
        return {AsCursorImage(IMAGE_CURSOR_AIM_HIT), nullptr, nullptr, false};
    case 8:
        return {AsCursorImage(IMAGE_CURSOR_AIM_MISS), nullptr, nullptr, false};
    default:
        return {};
    }
}

} // namespace

void GameApp::SetCursorType(int kind)
{
    if (mCursorLocked) {
        mPendingCursorType = kind;
        return;
    }
    mCursorType = kind;
    const CursorLook look = LookOfKind(kind, mBlankCursorImage);
    for (size_t slot = 0; slot < kGameCursorSlots; ++slot) {
        mCursorImages[slot] = look.systemImage;
        ApplyCursor();
    }
    mCursorKind = 0;
    ApplyCursor();

    if (mCursorWidget == nullptr)
        return;
    CursorWidget& overlay = *mCursorWidget;
    overlay.image = look.overlay;
    overlay.altImage = look.altOverlay;
    overlay.useAlt = 0;
    overlay.pulse = look.pulse;
    overlay.scale = 1.0f;
    overlay.phase = 0.0f;
    overlay.maxScale = kind == kHandKind ? 0.0f : kPulseLimit;
}

void GameApp::SetCursorLock(bool locked)
{
    // A second lock must not replace the kind asked for meanwhile with the
    // shown one, and an unlock without a lock must not bring back a stale kind.
    if (locked == mCursorLocked)
        return;
    if (locked) {
        mPendingCursorType = mCursorType;
        mCursorLocked = true;
        if (mCursorType == kHandKind && mCursorWidget != nullptr)
            mCursorWidget->useAlt = 1;
        return;
    }
    mCursorLocked = false;
    SetCursorType(mPendingCursorType);
}

} // namespace Tandry
