#include "game/shell/PopInPanel.h"

#include "game/shell/DarkBack.h"
#include "game/shell/GlobalResources.h"
#include "game/shell/GuiLayout.h"
#include "game/shell/ModalFade.h"
#include "game/shell/ScaleButton.h"
#include "graphics/context/Graphics.h"
#include "graphics/types/FadeGreyColor.h"
#include "graphics/types/PopScaleCurve.h"

#include <climits>
#include <cstdint>

namespace Tandry {

namespace {

// The dark brown of the panels' texts.
constexpr uint32_t kHeadTextColor = 0xFF2B0E00;

} // namespace

PopInPanel::PopInPanel(GuiLayout* layout, DarkBack* panelBackdrop) : backdrop(panelBackdrop), mLayout(layout)
{
    hasTransparencies = true;
}

PopInPanel::~PopInPanel()
{
    for (ScaleButton* button : mButtons) {
        RemoveWidget(button);
        delete button;
    }
}

void PopInPanel::Close()
{
    alphaTarget = 0.0f;
    if (backdrop != nullptr) {
        backdrop->target = 0.0f;
        backdrop->closing = true;
        backdrop = nullptr;
    }
}

void PopInPanel::ApplyPopIn(float progress)
{
    const float scale = PopScaleCurve(progress);
    const Color tint = FadeGreyColor(progress);
    for (ScaleButton* button : mButtons) {
        button->SetScale(scale, true, width / 2, height / 2);
        button->tint = tint;
    }
}

void PopInPanel::Update()
{
    Widget::Update();
    if (mEnded)
        return;
    StepModalFade(this, &alpha, alphaTarget, true, &mEnded);
    ApplyPopIn(alpha);
}

void PopInPanel::PlaceOnEntry(const std::string& name)
{
    const Rect rect = mLayout->GetEntryRect(name, false);
    Resize(rect);
    // A corner at the very end of the int range from a hostile file has no
    // negative; the layout saturates anyway.
    const auto negated = [](int32_t v) { return v == INT32_MIN ? INT32_MAX : -v; };
    mLayout->Offset(negated(rect.x), negated(rect.y));
}

void PopInPanel::AddButton(ScaleButton* button)
{
    mButtons.push_back(button);
    AddWidget(button);
}

void PopInPanel::DrawPanel(Graphics* g)
{
    g->SetPopInEffect(alpha, width, height);
    mLayout->Draw(g);
}

void PopInPanel::BeginHeadText(Graphics* g)
{
    g->PushState();
    g->MultiplyColor(Color(kHeadTextColor));
    g->SetFont(FONT_HEAD);
}

} // namespace Tandry
