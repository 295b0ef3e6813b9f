#include "widgets/FlashWidget.h"

#include "graphics/context/Graphics.h"
#include "graphics/display/DDImage.h"
#include "platform/flash/FlashControlFactory.h"
#include "util/PathUtils.h"
#include "util/StringUtils.h"
#include "widgets/FlashListener.h"
#include "widgets/WidgetHost.h"
#include "widgets/WidgetManager.h"

namespace Tandry {

FlashWidget::FlashWidget(FlashListener* theListener)
    : listener(theListener)
    , flash(Platform::CreateFlashControl())
{
    if (flash) {
        flash->SetClientSite(&site);
        flash->Advise(&sink);
    }
}

FlashWidget::~FlashWidget()
{
    delete canvas;
    canvas = nullptr;
    if (flash) {
        flash->Unadvise();
        flash->Close();
        flash.reset();
    }
}

Platform::FlashRect FlashWidget::ToFlashRect(const Rect& rect)
{
    return Platform::FlashRect{rect.x, rect.y, rect.x + rect.width, rect.y + rect.height};
}

bool FlashWidget::StartMovie(const std::string& fileName)
{
    if (!flash || !flash->PutMovie(NarrowToWideAnsi(ResolveAgainstCwd(fileName))))
        return false;
    if (pauseCount == 0 && !flash->Play())
        return false;
    if (manager != nullptr && isOver)
        MouseMove(manager->mouseX - x, manager->mouseY - y);
    state = 1;
    mStarted = true;
    return true;
}

bool FlashWidget::IsPlaying()
{
    return flash && flash->IsPlaying();
}

void FlashWidget::SetVariable(const std::string& name, const std::string& value)
{
    if (flash)
        flash->SetVariable(WidenString(name), WidenString(value));
}

void FlashWidget::Pause()
{
    ++pauseCount;
    if (state != 2)
        state = 0;
    if (pauseCount == 1 && state != 2 && flash)
        flash->StopPlay();
}

void FlashWidget::Resume()
{
    // Without a matching Pause the count would go below 0, after which the
    // movie could never be stopped, resumed or reported as ended again.
    if (pauseCount == 0)
        return;
    --pauseCount;
    // A widget paused before any movie started has nothing to play on.
    if (pauseCount == 0 && state != 2 && mStarted) {
        state = 1;
        if (flash)
            flash->Play();
    }
}

void FlashWidget::Update()
{
    if (pauseWhenInactive) {
        WidgetHost* host = GetWidgetHost();
        const bool focused = host == nullptr || host->HasAppFocus();
        if (!focused) {
            if (!pausedByFocus) {
                Pause();
                pausedByFocus = true;
            }
            return;
        }
        if (pausedByFocus) {
            Resume();
            pausedByFocus = false;
        }
    }
    if (state == 1 && !IsPlaying()) {
        state = 2;
        if (listener != nullptr && pauseCount == 0)
            listener->OnMovieStopped(id);
    }
    if (canvasDirty)
        MarkDirty();
}

void FlashWidget::Resize(int newX, int newY, int newWidth, int newHeight)
{
    Widget::Resize(newX, newY, newWidth, newHeight);
    dirtyRect = GetRect();
    // The new canvas holds nothing yet.
    canvasDirty = true;
    delete canvas;
    WidgetHost* host = GetWidgetHost();
    canvas = new DDImage(host != nullptr ? host->GetDDInterface() : nullptr);
    canvas->Create(width, height);
    canvas->ForceAlphaFlags(false, false);
    if (flash)
        flash->SetObjectRects(ToFlashRect(GetRect()), ToFlashRect(GetRect()));
}

void FlashWidget::SysColorChanged()
{
    dirtyRect = GetRect();
    canvasDirty = true;
    MarkDirty();
}

void FlashWidget::Draw(Graphics* g)
{
    if (canvas == nullptr)
        return;
    if (canvasDirty) {
        const Point origin = GetAbsPos();
        const Rect area = Rect::Intersection(
            Rect(dirtyRect.x - origin.x, dirtyRect.y - origin.y, dirtyRect.width, dirtyRect.height),
            Rect(0, 0, width, height));
        if (area.width > 0 && area.height > 0) {
            // The background goes under the repainted area only: outside it
            // the canvas keeps the movie's picture, which nothing repaints.
            Graphics canvasGraphics(canvas);
            canvasGraphics.SetClipRect(area);
            DrawBackground(&canvasGraphics);
            uint32_t* bits = canvas->GetBits();
            if (bits == nullptr)
                return;
            if (flash)
                flash->Draw(bits, width, height, width, ToFlashRect(area));
            canvas->MarkBitsChanged();
        }
        canvasDirty = false;
    }
    g->DrawImage(canvas, 0, 0);
}

void FlashWidget::DrawBackground(Graphics* g)
{
    if (backgroundColor.alpha > 0) {
        g->SetColor(backgroundColor);
        g->FillRect(0, 0, width, height);
    }
    if (backgroundImage == nullptr)
        return;
    if (backgroundSrc.width != 0 && backgroundSrc.height != 0)
        g->DrawImagePart(backgroundImage, 0, 0, backgroundSrc);
    else
        g->DrawImage(backgroundImage, 0, 0);
}

} // namespace Tandry
