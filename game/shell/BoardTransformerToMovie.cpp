#include "game/shell/BoardTransformerToMovie.h"

#include <algorithm>

namespace Tandry {

BoardTransformerToMovie::BoardTransformerToMovie() : BoardTransformerToMovie("MovieFadeInTime", "MovieFadeOutTime") {}

BoardTransformerToMovie::BoardTransformerToMovie(const char* firstKey, const char* secondKey)
    : firstPhase(ReadSeconds(firstKey)), secondPhase(ReadSeconds(secondKey))
{
}

void BoardTransformerToMovie::Advance(float seconds)
{
    elapsed += seconds;
    FinishIfOver(elapsed, firstPhase + secondPhase, firstPhase);
}

BaseBoard* BoardTransformerToMovie::ShownBoard() const
{
    return elapsed <= firstPhase ? fromBoard : toBoard;
}

float BoardTransformerToMovie::Whiteness() const
{
    // A phase of no length is already over, so neither divides by zero.
    if (elapsed <= firstPhase)
        return firstPhase > 0.0f ? std::min(elapsed / firstPhase, 1.0f) : 1.0f;
    return secondPhase > 0.0f ? 1.0f - std::min((elapsed - firstPhase) / secondPhase, 1.0f) : 0.0f;
}

void BoardTransformerToMovie::Draw(Graphics* g)
{
    DrawBoard(g, ShownBoard());
}

void BoardTransformerToMovie::DrawOverlay(Graphics* g)
{
    DrawBoardOverlay(g, ShownBoard());
    FillOver(g, Color::White, Whiteness());
}

} // namespace Tandry
