// A light spot of the main menu stepped update by update with a seeded rand:
// the order and lengths of its phases, its random dark waits and its
// brightness, against a model written from the curves.
#include "game/shell/MenuLightSpot.h"

#include "util/RandomGenerator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using Tandry::MenuLightSpot;

// The brightness curves: a quarter sine up, a flicker of two cosine periods
// about 1, a straight fall.
double ModelAlpha(int state, double time, double duration)
{
    const double pi = 3.14159265358979323846;
    switch (state) {
    case 1:
        return std::sin(time * pi / 2.0 / duration);
    case 2:
        return 1.0 - (0.5 - std::cos(time * 4.0 * pi / duration)) * 0.4;
    case 3:
        return 1.0 - time / duration;
    default:
        return 0.0;
    }
}

struct Phase {
    int state;
    int updates;
    // The duration the phase ran with.
    float duration;
};

// The phases the spot goes through in the given number of updates, the
// state after each update counted towards its phase.
std::vector<Phase> RunPhases(MenuLightSpot& spot, int updates)
{
    std::vector<Phase> phases{{spot.state, 0, spot.duration}};
    for (int i = 0; i < updates; ++i) {
        spot.Update();
        if (spot.state != phases.back().state)
            phases.push_back({spot.state, 0, spot.duration});
        ++phases.back().updates;
    }
    return phases;
}

TEST(MenuLightSpotTest, RunsDarkRisingFlickeringFallingAndDarkAgainForItsDurations)
{
    for (uint32_t seed : {1u, 2u, 99u, 4242u}) {
        SCOPED_TRACE(seed);
        Tandry::CrtSeed(seed);
        const int first = Tandry::CrtRand();
        Tandry::CrtSeed(seed);
        MenuLightSpot spot(nullptr);
        EXPECT_FLOAT_EQ(spot.duration, 1.0f + static_cast<float>(first) / 32767.0f * 4.0f);

        // Three whole cycles at the longest.
        const std::vector<Phase> phases = RunPhases(spot, 3 * (1000 + 20 + 20 + 40) + 10);
        ASSERT_GE(phases.size(), 9u);
        for (size_t i = 0; i + 1 < phases.size(); ++i) {
            const Phase& phase = phases[i];
            SCOPED_TRACE(i);
            EXPECT_EQ(phase.state, static_cast<int>(i % 4));
            // Each phase takes its duration in steps of 0.005 per update of
            // 10 ms, plus at most two updates: the one that changes the state
            // and one more where the float steps fall short of the end.
            const float wanted = phase.state == 0   ? phase.duration
                                 : phase.state == 3 ? 0.2f
                                                    : 0.1f;
            EXPECT_FLOAT_EQ(phase.duration, wanted);
            EXPECT_GE(phase.updates, std::floor(wanted / 0.005f));
            EXPECT_LE(phase.updates, wanted / 0.005f + 2.0f);
            if (phase.state == 0) {
                // The first wait is drawn from 1 to 5, later ones from 1 to 3.
                EXPECT_GE(phase.duration, 1.0f);
                EXPECT_LE(phase.duration, i == 0 ? 5.0f : 3.0f);
            }
        }
    }
}

TEST(MenuLightSpotTest, TheAlphaFollowsTheCurvesAndIsZeroWhileDark)
{
    Tandry::CrtSeed(5);
    MenuLightSpot spot(nullptr);
    int litUpdates = 0;
    for (int i = 0; i < 3000; ++i) {
        spot.Update();
        EXPECT_NEAR(spot.alpha, ModelAlpha(spot.state, spot.time, spot.duration), 1e-5)
            << "state " << spot.state << " time " << spot.time;
        if (spot.state == MenuLightSpot::kDark)
            EXPECT_EQ(spot.alpha, 0.0f);
        else
            ++litUpdates;
    }
    EXPECT_GT(litUpdates, 0);
}

TEST(MenuLightSpotTest, CurvePointsWorkedOutByHand)
{
    struct Row {
        int state;
        float time;
        float duration;
        float alpha;
    };
    const Row rows[] = {
        {0, 0.5f, 1.0f, 0.0f},
        {1, 0.0f, 0.1f, 0.0f},
        {1, 0.1f, 0.1f, 1.0f},
        // The flicker starts above 1 and dips to 0.4 a quarter in.
        {2, 0.0f, 0.1f, 1.2f},
        {2, 0.025f, 0.1f, 0.4f},
        {2, 0.05f, 0.1f, 1.2f},
        {3, 0.0f, 0.2f, 1.0f},
        {3, 0.1f, 0.2f, 0.5f},
        {3, 0.2f, 0.2f, 0.0f},
    };
    for (const Row& row : rows)
        EXPECT_NEAR(MenuLightSpot::AlphaAt(row.state, row.time, row.duration), row.alpha, 1e-5)
            << row.state << " " << row.time;
}

} // namespace
