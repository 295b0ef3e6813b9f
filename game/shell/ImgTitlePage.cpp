#include "game/shell/ImgTitlePage.h"

#include "app/TandryAppBase.h"
#include "game/shell/MoveTowards.h"
#include "graphics/context/Graphics.h"
#include "graphics/display/DDImage.h"

namespace Tandry {

ImgTitlePage::ImgTitlePage(bool isSkippable, const std::string& name, float seconds)
    : TitlePage(isSkippable), time(seconds)
{
    if (gApplication != nullptr)
        image.reset(gApplication->LoadImageFile(name, true));
    loaded = image != nullptr;
}

ImgTitlePage::~ImgTitlePage() = default;

void ImgTitlePage::Draw(Graphics* g)
{
    if (image == nullptr || gApplication == nullptr)
        return;
    g->DrawImageStretched(image.get(), Rect(0, 0, gApplication->mWidth, gApplication->mHeight),
                          Rect(0, 0, image->mWidth, image->mHeight));
}

void ImgTitlePage::Update()
{
    if (MoveTowards(&time, kUpdateSeconds, 0.0f))
        finished = true;
}

} // namespace Tandry
