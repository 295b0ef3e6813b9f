#include "game/shell/CursorWidget.h"

#include "app/TandryAppBase.h"
#include "graphics/context/Graphics.h"
#include "graphics/image/Image.h"
#include "graphics/types/Transform.h"
#include "widgets/WidgetHost.h"
#include "widgets/WidgetManager.h"

#include <cmath>
#include <numbers>

namespace Tandry {
namespace {

// Beside the system arrow rather than under it.
constexpr float kArrowClearance = 20.0f;

} // namespace

CursorWidget::CursorWidget()
{
    Resize(0, 0, 1, 1);
}

Image* CursorWidget::ShownImage() const
{
    return useAlt != 0 ? altImage : image;
}

void CursorWidget::Update()
{
    Widget::Update();
    if (pulse && ShownImage() != nullptr && useAlt == 0) {
        phase += 0.02f;
        scale = (maxScale - 1.0f) * (std::sin(phase * std::numbers::pi_v<float>) * 0.5f + 0.5f) + 1.0f;
    }
    MarkDirty();
}

void CursorWidget::Draw(Graphics* g)
{
    Image* shown = ShownImage();
    if (shown == nullptr)
        return;
    // The manager lends itself to its cursor widget only for the update pass;
    // while drawing it is found through the application.
    WidgetHost* host = HostOf(this);
    WidgetManager* widgetManager = manager;
    if (widgetManager == nullptr && host != nullptr)
        widgetManager = host->GetWidgetManager();
    if (widgetManager == nullptr)
        return;
    const auto* application = dynamic_cast<const TandryAppBase*>(host);
    const bool systemArrowShows = application != nullptr && !application->mCustomCursorsEnabled;

    g->mClipRect = Rect(0, 0, g->mDestImage->mWidth, g->mDestImage->mHeight);
    Transform transform;
    transform.Scale(scale, scale);
    if (systemArrowShows)
        transform.Translate(kArrowClearance, 0.0f);
    transform.Translate(static_cast<float>(widgetManager->mouseX), static_cast<float>(widgetManager->mouseY));
    g->DrawImageTransformedPart(shown, transform, Rect(0, 0, shown->mWidth, shown->mHeight), 0.0f, 0.0f, true);
}

} // namespace Tandry
