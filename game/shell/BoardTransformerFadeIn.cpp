#include "game/shell/BoardTransformerFadeIn.h"

#include "game/shell/BaseBoard.h"
#include "graphics/context/Graphics.h"
#include "graphics/display/DDImage.h"

namespace Tandry {

BoardTransformerFadeIn::BoardTransformerFadeIn() : duration(ReadSeconds("ScreenFade")) {}

BoardTransformerFadeIn::~BoardTransformerFadeIn() = default;

void BoardTransformerFadeIn::Start()
{
    if (toBoard == nullptr || toBoard->width <= 0 || toBoard->height <= 0)
        return;
    snapshot = std::make_unique<DDImage>();
    snapshot->Create(toBoard->width, toBoard->height);
    Graphics g(snapshot.get());
    // At the snapshot's origin, not at the board's place.
    DrawBoard(&g, toBoard, x - toBoard->x, y - toBoard->y);
}

void BoardTransformerFadeIn::Advance(float seconds)
{
    elapsed += seconds;
    FinishIfOver(elapsed, duration, duration * 0.5f);
}

void BoardTransformerFadeIn::Draw(Graphics* g)
{
    DrawBoard(g, fromBoard);
    if (snapshot == nullptr)
        return;
    g->SetColorizeImages(true);
    g->SetColor(Color::White.WithAlpha(Progress(elapsed, duration)));
    g->DrawImage(snapshot.get(), toBoard->x - x, toBoard->y - y);
    g->SetColorizeImages(false);
}

} // namespace Tandry
