#include "game/shell/BoardTransformerFade.h"

namespace Tandry {

BoardTransformerFade::BoardTransformerFade() : duration(ReadSeconds("ScreenFade")) {}

void BoardTransformerFade::Advance(float seconds)
{
    elapsed += seconds;
    FinishIfOver(elapsed, duration, duration * 0.5f);
}

BaseBoard* BoardTransformerFade::ShownBoard() const
{
    return Progress(elapsed, duration) < 0.5f ? fromBoard : toBoard;
}

float BoardTransformerFade::Blackness() const
{
    const float p = Progress(elapsed, duration);
    return p < 0.5f ? 2.0f * p : 1.0f - 2.0f * (p - 0.5f);
}

void BoardTransformerFade::Draw(Graphics* g)
{
    DrawBoard(g, ShownBoard());
}

void BoardTransformerFade::DrawOverlay(Graphics* g)
{
    DrawBoardOverlay(g, ShownBoard());
    FillOver(g, Color::Black, Blackness());
}

} // namespace Tandry
