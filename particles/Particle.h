// One live particle of the own engine: a fixed-size record taken from the
// process-wide ParticlePool and linked into its effect's list in order of
// birth. Rates are per unit of time, fixed at birth.
#pragma once

namespace Tandry {

struct Particle {
    float x;
    float y;
    float velocityX;
    float velocityY;
    float gravity;
    float radialAccel;
    float tangentialAccel;
    float spin;
    float spinRate;
    float size;
    float sizeRate;
    float red;
    float green;
    float blue;
    float alpha;
    float redRate;
    float greenRate;
    float blueRate;
    float alphaRate;
    float age;
    float lifetime;
    Particle* prev;
    Particle* next;
};

} // namespace Tandry
