// The widget manager's draw pass: the dirty top-level widgets onto the
// screen image, the cursor widget last, then the deferred overlays by
// priority.
#include "widgets/WidgetManager.h"

#include "graphics/context/Graphics.h"
#include "graphics/display/DDImage.h"
#include "util/SectionProfilerScope.h"
#include "widgets/Widget.h"

#include <algorithm>

namespace Tandry {

namespace {

// The display's flags: fast stretching in software, linear blending in 3D.
void SetDisplayFlags(Graphics& g)
{
    g.SetFastStretch(!g.mIs3DScreen);
    g.SetLinearBlend(g.mIs3DScreen);
}

} // namespace

void WidgetManager::DrawTopLevel(Widget* widget, WidgetFlagState* state, const Graphics& screen)
{
    SectionProfilerScope section("WidgetManager::DrawScreen::DrawWidget");
    Graphics widgetGraphics(screen);
    widgetGraphics.Translate(widget->x, widget->y);
    SetDisplayFlags(widgetGraphics);
    widget->DrawAll(state, &widgetGraphics);
}

bool WidgetManager::DrawScreen()
{
    SectionProfilerScope section("WidgetManager::DrawScreen");
    // The display is being rebuilt; the application marks everything dirty
    // once it is back, so the flags are left as they are.
    if (drawImage == nullptr)
        return false;

    WidgetFlagState state = MakeFlagState();
    const bool cursorDirty = cursorWidget != nullptr && cursorWidget->dirty;
    const bool anyDirty =
        cursorDirty || std::any_of(children.begin(), children.end(), [](const Widget* w) { return w->dirty; });
    deferredOverlays.clear();
    lowestOverlayPriority = kNoOverlay;

    Graphics g(drawImage);
    currentGraphics = &g;
    // One lock for the whole pass instead of one per drawing call.
    auto* surfaceImage = dynamic_cast<DDImage*>(drawImage);
    const bool locked = surfaceImage != nullptr && surfaceImage->LockSurface();

    bool drew = false;
    if (anyDirty) {
        // The logical screen lands centred in the display.
        Graphics screen(g);
        screen.Translate(-drawOffsetRect.x, -drawOffsetRect.y);
        for (Widget* widget : children) {
            if (widget == baseModalWidget)
                state.aboveModal = true;
            if (!widget->dirty || !widget->visible)
                continue;
            DrawTopLevel(widget, &state, screen);
            widget->dirty = false;
            drew = true;
        }
        if (cursorDirty && cursorWidget != nullptr)
            DrawTopLevel(cursorWidget, &state, screen);
    }
    FlushDeferredOverlays(kNoOverlay);

    if (locked)
        surfaceImage->UnlockSurface();
    currentGraphics = nullptr;
    return drew;
}

void WidgetManager::QueueDeferredOverlay(Widget* widget, int overlayPriority)
{
    deferredOverlays.emplace_back(widget, overlayPriority);
    lowestOverlayPriority = std::min(lowestOverlayPriority, overlayPriority);
}

void WidgetManager::FlushDeferredOverlays(int limit)
{
    // Outside a draw pass there is no screen to draw on; the queue waits.
    if (currentGraphics == nullptr)
        return;
    for (;;) {
        int nextLowest = kNoOverlay;
        // By index: an overlay may queue another while it draws.
        for (std::size_t i = 0; i < deferredOverlays.size(); ++i) {
            Widget* widget = deferredOverlays[i].first;
            const int overlayPriority = deferredOverlays[i].second;
            if (widget == nullptr)
                continue;
            if (overlayPriority != lowestOverlayPriority) {
                nextLowest = std::min(nextLowest, overlayPriority);
                continue;
            }
            deferredOverlays[i].first = nullptr;
            Graphics overlayGraphics(*currentGraphics);
            overlayGraphics.Translate(-drawOffsetRect.x, -drawOffsetRect.y);
            overlayGraphics.Translate(widget->x, widget->y);
            SetDisplayFlags(overlayGraphics);
            widget->DrawDeferredOverlay(&overlayGraphics, overlayPriority);
        }
        lowestOverlayPriority = nextLowest;
        if (nextLowest == kNoOverlay) {
            deferredOverlays.clear();
            return;
        }
        if (nextLowest >= limit)
            return;
    }
}

} // namespace Tandry
