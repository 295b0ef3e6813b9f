#include "game/shell/BoardTransformerPager.h"

#include "graphics/context/Graphics.h"
#include "graphics/display/DDImage.h"

namespace Tandry {

BoardTransformerPager::BoardTransformerPager() : duration(ReadSeconds("ScreenFade")) {}

BoardTransformerPager::~BoardTransformerPager() = default;

void BoardTransformerPager::Start()
{
    if (width > 0 && height > 0) {
        snapshot = std::make_unique<DDImage>();
        snapshot->Create(width, height);
        Graphics g(snapshot.get());
        DrawBoard(&g, fromBoard);
    }
    mesh.Deform(0.0f, GetRect());
}

void BoardTransformerPager::Advance(float seconds)
{
    elapsed += seconds;
    // The page is bent for the time it will be drawn at.
    mesh.Deform(Progress(elapsed, duration), GetRect());
    FinishIfOver(elapsed, duration, duration * 0.5f);
}

void BoardTransformerPager::Draw(Graphics* g)
{
    if (toBoard != nullptr) {
        DrawBoard(g, toBoard);
    } else {
        g->SetColor(Color::Black);
        g->FillRect(0, 0, width, height);
    }
    // The mesh lies in the parent's coordinates, like the transition's rectangle.
    Graphics pageGraphics(*g);
    pageGraphics.Translate(-x, -y);
    pageGraphics.SetColor(Color::White);
    pageGraphics.DrawTrianglesTex(snapshot.get(), mesh.Triangles(), PageMesh::kTriangles);
}

} // namespace Tandry
