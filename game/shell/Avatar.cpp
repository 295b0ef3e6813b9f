#include "game/shell/Avatar.h"

#include "graphics/context/Graphics.h"
#include "graphics/image/MemoryImage.h"

namespace Tandry {
namespace {

// The expression numbers are written by game code from scene data; one
// outside the four faces draws no face.
bool IsFace(int face)
{
    return face >= 0 && face < Avatar::kFaceCount;
}

} // namespace

void Avatar::Draw(Graphics* g)
{
    g->DrawImage(backImage, backPos.x, backPos.y);
    g->DrawImage(frameImage, framePos.x, framePos.y);
    if (IsFace(shownFace))
        g->DrawImage(faces[shownFace], facePos[shownFace].x, facePos[shownFace].y);
    if (targetFace != shownFace && IsFace(targetFace)) {
        g->SetColorizeImages(true);
        g->SetColor(Color::White.WithAlpha(blend));
        g->DrawImage(faces[targetFace], facePos[targetFace].x, facePos[targetFace].y);
        g->SetColorizeImages(false);
    }
    g->DrawImage(glassImage, glassPos.x, glassPos.y);
}

} // namespace Tandry
