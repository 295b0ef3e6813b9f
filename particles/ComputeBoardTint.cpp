#include "graphics/types/FadeGreyColor.h"
#include "particles/ParticlesOwner.h"

namespace Tandry {

Color ComputeBoardTint(const ParticlesOwner* owner)
{
    if (owner == nullptr)
        return Color::White;
    return Color::Multiply(owner->SceneColor(), FadeGreyColor(owner->FadeLevel()));
}

} // namespace Tandry
