// The transition of kind "to_movie": the screen goes to white over
// "MovieFadeInTime" and comes back on the new board over "MovieFadeOutTime".
// BoardTransformerFromMovie is the same fade with the two times swapped.
#pragma once

#include "game/shell/BoardTransformer.h"

namespace Tandry {

class BoardTransformerToMovie : public BoardTransformer {
public:
    BoardTransformerToMovie();

    void Advance(float seconds) override;
    void Draw(Graphics* g) override;
    void DrawOverlay(Graphics* g) override;

    // The from board until the first phase is over, the to board after it.
    BaseBoard* ShownBoard() const;
    // The whiteness now, 0 to 1.
    float Whiteness() const;

    float elapsed = 0.0f;
    float firstPhase;
    float secondPhase;

protected:
    // The phases' times from these [Game] keys.
    BoardTransformerToMovie(const char* firstKey, const char* secondKey);
};

} // namespace Tandry
