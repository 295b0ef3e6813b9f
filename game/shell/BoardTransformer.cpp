#include "game/shell/BoardTransformer.h"

#include "game/shell/BaseBoard.h"
#include "game/shell/BoardTransformerListener.h"
#include "graphics/context/Graphics.h"
#include "platform/Platform.h"
#include "resources/ini/GameIni.h"
#include "widgets/WidgetFlag.h"
#include "widgets/WidgetFlagState.h"

#include <algorithm>
#include <cmath>

namespace Tandry {

void BoardTransformer::Advance(float /*seconds*/) {}

void BoardTransformer::Start() {}

void BoardTransformer::Update()
{
    // One reading for the whole step, so no time falls between the step and
    // the next start.
    const uint32_t now = Platform::GetPlatform().GetClock().GetTickCount();
    if (lastTime == 0)
        lastTime = now;
    // Unsigned subtraction, so a wrap of the counter still gives a small step.
    const uint32_t elapsed = now - lastTime;
    Advance(static_cast<float>(elapsed) / 1000.0f);
    lastTime = now;
    WidgetContainer::MarkDirty();
}

void BoardTransformer::Finish()
{
    if (!running)
        return;
    running = false;
    if (fromBoard != nullptr)
        fromBoard->visible = true;
    if (toBoard != nullptr)
        toBoard->visible = true;
    if (listener != nullptr)
        listener->OnTransformEnd();
}

float BoardTransformer::ReadSeconds(const char* key)
{
    const float seconds = gGameIni.GetFloat(key, "Game", 0.0f);
    return std::isfinite(seconds) && seconds >= 0.0f ? seconds : 0.0f;
}

float BoardTransformer::Progress(float elapsed, float duration)
{
    if (!(duration > 0.0f))
        return 1.0f;
    const float p = elapsed / duration;
    return std::isnan(p) ? 0.0f : std::clamp(p, 0.0f, 1.0f);
}

void BoardTransformer::FinishIfOver(float elapsed, float total, float firstPhase)
{
    if (elapsed >= total || (toBoard == nullptr && elapsed >= firstPhase))
        Finish();
}

void BoardTransformer::DrawBoard(Graphics* g, BaseBoard* board, int dx, int dy)
{
    if (board == nullptr)
        return;
    WidgetFlagState state;
    state.flags = WIDGETFLAGS_DRAW;
    state.belowModalFlags = WIDGETFLAGS_DRAW;
    Graphics boardGraphics(*g);
    boardGraphics.Translate(board->x - x + dx, board->y - y + dy);
    board->DrawAll(&state, &boardGraphics);
}

void BoardTransformer::DrawBoardOverlay(Graphics* g, BaseBoard* board)
{
    if (board == nullptr)
        return;
    Graphics boardGraphics(*g);
    boardGraphics.Translate(board->x - x, board->y - y);
    board->DrawOverlay(&boardGraphics);
}

void BoardTransformer::FillOver(Graphics* g, const Color& color, float f)
{
    g->SetColor(color.WithAlpha(f));
    g->FillRect(0, 0, width, height);
}

} // namespace Tandry
