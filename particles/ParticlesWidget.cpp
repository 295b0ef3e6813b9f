#include "particles/ParticlesWidget.h"

#include <algorithm>

#include "graphics/context/Graphics.h"
#include "graphics/display/DisplayHost.h"
#include "particles/ParticlesCommon.h"
#include "particles/ParticlesOwner.h"
#include "widgets/WidgetHost.h"

namespace Tandry {

ParticlesWidget::ParticlesWidget(ParticlesCommon* effect, ParticlesOwner* owner) : mEffect(effect), mOwner(owner)
{
    const DisplaySettings screen = GetDisplayHost() ? GetDisplayHost()->GetDisplaySettings() : DisplaySettings{};
    Resize(0, 0, screen.width, screen.height);
    mouseVisible = false;
}

ParticlesWidget::~ParticlesWidget()
{
    if (mOwner != nullptr) {
        std::list<ParticlesWidget*>& list = mOwner->ParticleWidgets();
        const auto it = std::find(list.begin(), list.end(), this);
        if (it != list.end())
            list.erase(it);
    }
    if (mEffect != nullptr)
        mEffect->StopEmitting();
    delete mEffect;
}

void ParticlesWidget::Update()
{
    if (mEffect == nullptr)
        return;
    mEffect->Update(0.01f);
    if (mEffect->IsFinished())
        Finish();
}

void ParticlesWidget::Draw(Graphics* g)
{
    g->SetColorizeImages(true);
    g->SetColor(ComputeBoardTint(mOwner));
    // The effect is placed in screen coordinates.
    g->mTransX = 0.0f;
    g->mTransY = 0.0f;
    if (mEffect != nullptr)
        mEffect->Draw(g);
}

void ParticlesWidget::Finish()
{
    if (mFinishedFlag)
        return;
    mFinishedFlag = true;
    if (parent != nullptr)
        parent->RemoveWidget(this);
    if (WidgetHost* host = GetWidgetHost(); host != nullptr)
        host->DeferWidgetDelete(this);
}

} // namespace Tandry
