// An effect for the widget tests whose end the test decides: it counts the
// calls it gets, remembers the colour it was drawn with, and reports its
// deletion through a flag the test holds.
#pragma once

#include <list>
#include <string>

#include "graphics/context/Graphics.h"
#include "particles/ParticlesCommon.h"
#include "particles/ParticlesOwner.h"

namespace TandryTest {

class FakeEffect : public Tandry::ParticlesCommon {
public:
    explicit FakeEffect(bool* deleted = nullptr) : mDeleted(deleted) {}
    ~FakeEffect() override
    {
        if (mDeleted != nullptr)
            *mDeleted = true;
    }

    void StartAt(const float position[2]) override
    {
        startX = position[0];
        ++starts;
    }
    void Restart() override { ++starts; }
    void StopEmitting() override { ++stops; }
    void SetPosition(const float[2], bool) override {}
    void SeekTime(float) override {}
    void SetLooping(bool) override {}
    void Draw(Tandry::Graphics* g) override
    {
        ++draws;
        drawColor = g->mColor;
        drawColorize = g->mColorizeImages;
        drawTransX = g->mTransX;
    }
    void Update(float dt) override
    {
        ++updates;
        lastDt = dt;
    }
    bool IsFinished() override { return finished; }
    bool IsOwnEngine() override { return true; }

    bool finished = false;
    int starts = 0;
    int stops = 0;
    int draws = 0;
    int updates = 0;
    float lastDt = 0.0f;
    float startX = 0.0f;
    float drawTransX = -1.0f;
    bool drawColorize = false;
    Tandry::Color drawColor;

private:
    bool* mDeleted;
};

class FakeOwner : public Tandry::ParticlesOwner {
public:
    Tandry::Color SceneColor() const override { return scene; }
    float FadeLevel() const override { return fade; }
    std::list<Tandry::ParticlesWidget*>& ParticleWidgets() override { return widgets; }

    Tandry::Color scene{200, 100, 50, 255};
    float fade = 1.0f;
    std::list<Tandry::ParticlesWidget*> widgets;
};

} // namespace TandryTest
