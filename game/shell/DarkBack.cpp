#include "game/shell/DarkBack.h"

#include "app/TandryAppBase.h"
#include "game/shell/GlobalResources.h"
#include "game/shell/ModalFade.h"
#include "graphics/context/Graphics.h"

#include <algorithm>

namespace Tandry {

DarkBack::DarkBack(const BoundCall<void()>* onClick, std::intptr_t ownerTag) : tag(ownerTag)
{
    if (onClick != nullptr)
        clickCall = *onClick;
    hasTransparencies = true;
    if (gApplication != nullptr)
        Resize(0, 0, gApplication->mWidth, gApplication->mHeight);
}

void DarkBack::Update()
{
    StepModalFade(this, &level, target, closing, &mEnded);
}

void DarkBack::Draw(Graphics* g)
{
    if (IMAGE_DARK_BACK == nullptr)
        return;
    const int alpha = std::clamp(static_cast<int>(level * 0.5f * 255.0f), 0, 255);
    g->SetColorizeImages(true);
    g->SetColor(Color(255, 255, 255, alpha));
    g->DrawImage(IMAGE_DARK_BACK, 0, 0);
    g->SetColorizeImages(false);
}

void DarkBack::MouseDown(int /*mouseX*/, int /*mouseY*/, int /*button*/, int /*clickCount*/)
{
    if (level != target)
        return;
    // Cleared before the call: the owner may close or delete the backdrop from it.
    const BoundCall<void()> call = clickCall;
    clickCall = BoundCall<void()>();
    call();
}

} // namespace Tandry
