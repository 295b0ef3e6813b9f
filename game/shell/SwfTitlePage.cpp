#include "game/shell/SwfTitlePage.h"

#include "app/TandryAppBase.h"

namespace Tandry {

SwfTitlePage::SwfTitlePage(bool isSkippable, const std::string& name)
    : TitlePage(isSkippable), flashWidget(this)
{
    const int width = gApplication != nullptr ? gApplication->mWidth : 0;
    const int height = gApplication != nullptr ? gApplication->mHeight : 0;
    flashWidget.Resize(0, 0, width, height);
    loaded = flashWidget.StartMovie(name);
    flashWidget.mouseVisible = false;
}

void SwfTitlePage::Draw(Graphics* g)
{
    flashWidget.Draw(g);
}

void SwfTitlePage::Update()
{
    flashWidget.Update();
    if (!flashWidget.IsPlaying())
        finished = true;
}

void SwfTitlePage::OnMovieStopped(int /*id*/)
{
    finished = true;
}

void SwfTitlePage::OnFlashCommand(int /*id*/, const std::string& /*command*/, const std::string& /*arguments*/) {}

} // namespace Tandry
