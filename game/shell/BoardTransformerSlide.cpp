#include "game/shell/BoardTransformerSlide.h"

#include "graphics/context/Graphics.h"

namespace Tandry {

BoardTransformerSlide::BoardTransformerSlide() : duration(ReadSeconds("ScreenFade")) {}

void BoardTransformerSlide::Advance(float seconds)
{
    elapsed += seconds;
    FinishIfOver(elapsed, duration, duration * 0.5f);
}

int BoardTransformerSlide::Shift() const
{
    return static_cast<int>(Progress(elapsed, duration) * static_cast<float>(height));
}

void BoardTransformerSlide::Draw(Graphics* g)
{
    const int shift = Shift();
    DrawBoard(g, fromBoard, 0, shift);
    if (toBoard != nullptr) {
        DrawBoard(g, toBoard, 0, shift - height);
    } else {
        g->SetColor(Color::Black);
        g->FillRect(0, shift - height, width, height);
    }
}

} // namespace Tandry
