// What a particle widget needs of the quest field it plays on: the scene's
// colour and the field's fade level, which tint the effect, and the field's
// list of its particle widgets, which the widget leaves when it is deleted.
// The quest field implements it; tests use a fake.
#pragma once

#include <list>

#include "graphics/types/Color.h"

namespace Tandry {

class ParticlesWidget;

class ParticlesOwner {
public:
    virtual Color SceneColor() const = 0;
    virtual float FadeLevel() const = 0;
    virtual std::list<ParticlesWidget*>& ParticleWidgets() = 0;

protected:
    ~ParticlesOwner() = default;
};

// The scene colour multiplied by the grey-and-alpha colour of the fade level;
// white without an owner.
Color ComputeBoardTint(const ParticlesOwner* owner);

} // namespace Tandry
