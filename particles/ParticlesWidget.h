// A full-screen widget that plays one particle effect over a quest field and
// removes itself once the effect is over. The quest engine makes it for
// highlight and hint effects and keeps it in the owner's list; the widget
// owns its effect and draws it tinted like the scene.
#pragma once

#include "widgets/Widget.h"

namespace Tandry {

class ParticlesCommon;
class ParticlesOwner;

class ParticlesWidget : public Widget {
public:
    // At (0, 0) with the screen's size; takes the effect.
    ParticlesWidget(ParticlesCommon* effect, ParticlesOwner* owner);
    // Leaves the owner's list, stops and deletes the effect.
    ~ParticlesWidget() override;

    // One step of 0.01; a finished effect finishes the widget.
    void Update() override;
    void Draw(Graphics* g) override;
    // The first call only: out of the parent, then to the widget host's
    // deferred deletion (deleted after the current update).
    void Finish();

    ParticlesCommon* Effect() const { return mEffect; }
    bool IsFinishing() const { return mFinishedFlag; }

private:
    ParticlesCommon* mEffect;
    ParticlesOwner* mOwner;
    bool mFinishedFlag = false;
};

} // namespace Tandry
