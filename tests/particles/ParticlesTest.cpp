#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <ostream>
#include <vector>

#include "graphics/context/Graphics.h"
#include "graphics/context/RecordingImage.h"
#include "graphics/image/AnimInfo.h"
#include "particles/Particle.h"
#include "particles/ParticleTestSupport.h"
#include "platform/fs/ScratchFolder.h"

namespace Tandry {
// The recording image's printer, defined once per test program.
void PrintTo(const Rect& r, std::ostream* os)
{
    *os << "(" << r.x << ", " << r.y << ", " << r.width << ", " << r.height << ")";
}
} // namespace Tandry

namespace {

using namespace Tandry;
using TandryTest::StillParams;

class ParticlesTest : public TandryTest::ParticleTest {
protected:
    static std::vector<const Particle*> Live(const Particles& e)
    {
        std::vector<const Particle*> out;
        for (const Particle* p = e.FirstParticle(); p != nullptr; p = p->next)
            out.push_back(p);
        return out;
    }

    // The births of each of count updates of dt 0.01.
    static std::vector<int> Births(Particles& e, int count)
    {
        std::vector<int> births;
        for (int i = 0; i < count; ++i) {
            const int before = e.LiveCount();
            e.Update(0.01f);
            births.push_back(e.LiveCount() - before);
        }
        return births;
    }

    // An effect of params with one particle born at (x, y) and no further emission.
    std::unique_ptr<Particles> OneParticle(ParticleParams params, float x, float y)
    {
        params.rate = 100;
        auto e = std::make_unique<Particles>(params, mSheet.get());
        e->StartAt(At(x, y));
        e->Update(0.01f);
        e->StopEmitting();
        EXPECT_EQ(e->LiveCount(), 1);
        return e;
    }

    void Animate(int type, int frameDelay)
    {
        mSheet->mAnimInfo = std::make_unique<AnimInfo>();
        mSheet->mAnimInfo->type = type;
        mSheet->mAnimInfo->frameDelay = frameDelay;
    }
};

TEST_F(ParticlesTest, RateTimesDtWithTheRemainderCarried)
{
    const struct {
        int rate;
        std::vector<int> births;
    } cases[] = {
        {100, {1, 1, 1, 1, 1, 1}},
        {150, {1, 2, 1, 2, 1, 2}},
        {50, {0, 1, 0, 1, 0, 1}},
        {0, {0, 0, 0, 0}},
        {-300, {0, 0, 0}},
    };
    for (const auto& c : cases) {
        Particles e(StillParams(c.rate), mSheet.get());
        e.StartAt(At(10, 10));
        EXPECT_EQ(Births(e, static_cast<int>(c.births.size())), c.births) << "rate " << c.rate;
    }
}

TEST_F(ParticlesTest, NothingIsBornBeforeTheStart)
{
    Particles e(StillParams(1000), mSheet.get());
    EXPECT_FALSE(e.IsEmitting());
    e.Update(0.01f);
    EXPECT_EQ(e.LiveCount(), 0);
    EXPECT_FALSE(e.IsFinished());
}

TEST_F(ParticlesTest, FiniteDurationStopsAtTheFiftyFirstUpdate)
{
    ParticleParams params = StillParams(100);
    params.duration = 0.5f;
    Particles e(params, mSheet.get());
    e.StartAt(At(0, 0));
    const std::vector<int> births = Births(e, 52);
    // The single-precision clock is just below 0.5 after 50 updates.
    EXPECT_EQ(std::vector<int>(births.begin(), births.begin() + 50), std::vector<int>(50, 1));
    EXPECT_EQ(births[50], 0);
    EXPECT_EQ(births[51], 0);
    EXPECT_FALSE(e.IsEmitting());
}

TEST_F(ParticlesTest, FinishedWhenStoppedAndTheLastParticleDied)
{
    ParticleParams params = StillParams(100);
    params.duration = 0.1f;
    params.lifetimeMin = params.lifetimeMax = 0.2f;
    Particles e(params, mSheet.get());
    e.StartAt(At(0, 0));
    int updates = 0;
    while (!e.IsFinished() && updates < 1000) {
        EXPECT_TRUE(e.LiveCount() > 0 || updates == 0) << updates;
        e.Update(0.01f);
        ++updates;
    }
    EXPECT_EQ(e.LiveCount(), 0);
    // Ten births; the last, in the tenth update, lives 0.2.
    EXPECT_NEAR(updates, 31, 1);
    // Restart brings it back to life.
    e.Restart();
    EXPECT_FALSE(e.IsFinished());
}

TEST_F(ParticlesTest, EndlessDurationEmitsUntilStopped)
{
    Particles e(StillParams(100), mSheet.get());
    e.Restart();
    for (int i = 0; i < 300; ++i)
        e.Update(0.01f);
    EXPECT_EQ(e.LiveCount(), 300);
    e.StopEmitting();
    e.Update(0.01f);
    EXPECT_EQ(e.LiveCount(), 300);
    EXPECT_FALSE(e.IsFinished());
}

TEST_F(ParticlesTest, AlphaMovesLinearlyOverTheLifetime)
{
    ParticleParams params = StillParams(100);
    params.lifetimeMin = params.lifetimeMax = 1.0f;
    params.colorEnd[3] = 0.0f;
    const std::unique_ptr<Particles> owned = OneParticle(params, 0, 0);
    Particles& e = *owned;
    const Particle* p = e.FirstParticle();
    EXPECT_EQ(p->alpha, 1.0f);
    e.Update(0.01f);
    EXPECT_NEAR(p->alpha, 0.99f, 1e-6);
    for (int i = 1; i < 50; ++i)
        e.Update(0.01f);
    EXPECT_NEAR(p->alpha, 0.5f, 1e-6);
}

TEST_F(ParticlesTest, MovingTheEmitterSpreadsTheNextBirthsAlongTheWay)
{
    Particles e(StillParams(2000), mSheet.get());
    e.StartAt(At(0, 0));
    e.Update(0.01f);
    ASSERT_EQ(e.LiveCount(), 20);
    for (const Particle* p : Live(e)) {
        EXPECT_LE(std::fabs(p->x), 2.0f);
        EXPECT_LE(std::fabs(p->y), 2.0f);
    }

    e.SetPosition(At(100, 0), false);
    e.Update(0.01f);
    const std::vector<const Particle*> all = Live(e);
    ASSERT_EQ(all.size(), 40u);
    float lo = 1e9f, hi = -1e9f;
    for (size_t i = 20; i < all.size(); ++i) {
        EXPECT_GE(all[i]->x, -2.0f);
        EXPECT_LE(all[i]->x, 102.0f);
        EXPECT_LE(std::fabs(all[i]->y), 2.0f);
        lo = std::min(lo, all[i]->x);
        hi = std::max(hi, all[i]->x);
    }
    EXPECT_LT(lo, 30.0f);
    EXPECT_GT(hi, 70.0f);
    // The old particles stayed where they were.
    for (size_t i = 0; i < 20; ++i)
        EXPECT_LE(std::fabs(all[i]->x), 2.0f);

    // The following births are all at the new place.
    e.Update(0.01f);
    for (const Particle* p : Live(e)) {
        if (p->age == 0.0f) {
            EXPECT_GE(p->x, 98.0f);
        }
    }
}

TEST_F(ParticlesTest, MovingWithParticlesShiftsThemByTheDifference)
{
    Particles e(StillParams(500), mSheet.get());
    e.StartAt(At(5, 5));
    e.Update(0.01f);
    std::vector<std::pair<float, float>> before;
    for (const Particle* p : Live(e))
        before.emplace_back(p->x, p->y);
    e.SetPosition(At(15, 25), true);
    const std::vector<const Particle*> after = Live(e);
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < after.size(); ++i) {
        EXPECT_EQ(after[i]->x, before[i].first + 10.0f);
        EXPECT_EQ(after[i]->y, before[i].second + 20.0f);
    }
    // The emitter moved with them: the next births are not spread.
    e.Update(0.01f);
    for (const Particle* p : Live(e)) {
        if (p->age == 0.0f) {
            EXPECT_NEAR(p->x, 15.0f, 2.0f);
        }
    }
}

TEST_F(ParticlesTest, StartingElsewhereDoesNotSweep)
{
    Particles e(StillParams(2000), mSheet.get());
    e.SetPosition(At(-500, -500), false);
    e.StartAt(At(40, 40));
    e.Update(0.01f);
    for (const Particle* p : Live(e)) {
        EXPECT_NEAR(p->x, 40.0f, 2.0f);
        EXPECT_NEAR(p->y, 40.0f, 2.0f);
    }
}

TEST_F(ParticlesTest, VelocityAccelerationAndGravity)
{
    // Straight down (direction pi/2 after the quarter-turn offset is pi), speed 4.
    ParticleParams params = StillParams(100);
    params.direction = 1.5707963705062866f + 1.5707963705062866f;
    params.speedMin = params.speedMax = 4.0f;
    params.gravityMin = params.gravityMax = 100.0f;
    const std::unique_ptr<Particles> owned = OneParticle(params, 0, 0);
    Particles& e = *owned;
    const Particle* p = e.FirstParticle();
    const float x0 = p->x, y0 = p->y;
    EXPECT_NEAR(p->velocityX, 0.0f, 1e-5);
    EXPECT_NEAR(p->velocityY, 4.0f, 1e-5);
    e.Update(0.01f);
    // v += g dt = 5; the step is v x 0.5 whatever dt is.
    EXPECT_NEAR(p->velocityY, 5.0f, 1e-5);
    EXPECT_NEAR(p->y - y0, 2.5f, 1e-5);
    EXPECT_NEAR(p->x - x0, 0.0f, 1e-5);
}

TEST_F(ParticlesTest, CelOfTheAnimationRecord)
{
    const struct {
        int type;
        int delay;
        std::vector<float> steps;
        int cel;
    } cases[] = {
        {AnimInfo::Once, 10, {0.25f, 0.25f}, 4},
        {AnimInfo::Once, 10, {0.25f}, 2},
        {AnimInfo::Once, 10, {0.25f, 0.25f, 0.25f, 0.125f}, 7},
        {AnimInfo::Loop, 10, {0.25f}, 2},
        {AnimInfo::Loop, 10, {0.5f, 0.5f}, 2},     // 10 frames of 8 cels
        {AnimInfo::PingPong, 20, {0.5f}, 2},
        // A delay of 0 (or below) counts as 1.
        {AnimInfo::Loop, 0, {0.03125f}, 3},
        {AnimInfo::Loop, -5, {0.03125f}, 3},
    };
    for (const auto& c : cases) {
        Animate(c.type, c.delay);
        ParticleParams params = StillParams(100);
        params.lifetimeMin = params.lifetimeMax = c.type == AnimInfo::Once ? 1.0f : 10.0f;
        const std::unique_ptr<Particles> owned = OneParticle(params, 32, 32);
        Particles& e = *owned;
        for (float dt : c.steps)
            e.Update(dt);
        RecordingImage dest(64, 64);
        Graphics g(&dest);
        e.Draw(&g);
        ASSERT_EQ(dest.calls.size(), 1u) << "type " << c.type;
        const Rect expected(c.cel % 4 * TandryTest::kCelSize, c.cel / 4 * TandryTest::kCelSize,
                            TandryTest::kCelSize, TandryTest::kCelSize);
        EXPECT_EQ(dest.calls[0].srcRect, expected) << "type " << c.type << " delay " << c.delay;
    }
}

TEST_F(ParticlesTest, FixedCelOutsideTheGridDrawsNothing)
{
    for (int cel : {-1, 8, 300, -32768}) {
        ParticleParams params = StillParams(100);
        params.fixedCel = static_cast<int16_t>(cel);
        Particles e(params, mSheet.get());
        e.StartAt(At(32, 32));
        e.Update(0.01f);
        RecordingImage dest(64, 64);
        Graphics g(&dest);
        e.Draw(&g);
        EXPECT_TRUE(dest.calls.empty()) << cel;
    }
    ParticleParams params = StillParams(100);
    params.fixedCel = 7;
    Particles e(params, mSheet.get());
    e.StartAt(At(32, 32));
    e.Update(0.01f);
    RecordingImage dest(64, 64);
    Graphics g(&dest);
    e.Draw(&g);
    ASSERT_EQ(dest.calls.size(), 1u);
    EXPECT_EQ(dest.calls[0].srcRect, Rect(12, 4, 4, 4));
}

TEST_F(ParticlesTest, ParticleWithoutLifeIsGivenBackAtOnce)
{
    ParticleParams params = StillParams(1000);
    params.lifetimeMin = params.lifetimeMax = 0.0f;
    Particles e(params, mSheet.get());
    e.StartAt(At(32, 32));
    e.Update(0.01f);
    EXPECT_EQ(e.LiveCount(), 0);
    EXPECT_EQ(ParticlePool::Global().UsedCount(), 0u);
    RecordingImage dest(64, 64);
    Graphics g(&dest);
    e.Draw(&g);
    EXPECT_TRUE(dest.calls.empty());
}

TEST_F(ParticlesTest, DrawPassesTheStateOfTheContextAndRestoresIt)
{
    for (int blend : {6, 0, 1, 7}) {
        ParticleParams params = StillParams(100);
        params.blendMode = static_cast<int16_t>(blend);
        params.spinStart = params.spinEnd = 0.5f;
        params.sizeStart = params.sizeEnd = 2.0f;
        params.colorStart[0] = params.colorEnd[0] = 0.5f;
        params.colorStart[3] = params.colorEnd[3] = 2.0f;
        Particles e(params, mSheet.get());
        e.StartAt(At(20, 30));
        e.Update(0.01f);
        const Particle* p = e.FirstParticle();

        RecordingImage dest(64, 64);
        Graphics g(&dest);
        g.Translate(3, 4);
        g.SetClipRect(1, 2, 30, 40);
        g.SetLinearBlend(true);
        g.SetDrawMode(DRAWMODE_NORMAL);
        e.Draw(&g);
        ASSERT_EQ(dest.calls.size(), 1u);
        const SlotCall& b = dest.calls[0];
        EXPECT_EQ(b.slot, Slot::BltMatrix);
        EXPECT_EQ(b.drawMode, blend == 6 ? DRAWMODE_NORMAL : DRAWMODE_ADDITIVE) << blend;
        EXPECT_EQ(b.src, mSheet.get());
        EXPECT_EQ(b.fx, 3.0f);
        EXPECT_EQ(b.fy, 4.0f);
        EXPECT_EQ(b.clip, g.mClipRect);
        EXPECT_TRUE(b.flag);
        EXPECT_EQ(b.color, Color(127, 255, 255, 255));
        // Rotate, then scale, then translate to the particle.
        const float c = std::cos(0.5f) * 2.0f, s = std::sin(0.5f) * 2.0f;
        EXPECT_NEAR(b.matrix.m[0][0], c, 1e-6);
        EXPECT_NEAR(b.matrix.m[0][1], s, 1e-6);
        EXPECT_NEAR(b.matrix.m[1][0], -s, 1e-6);
        EXPECT_NEAR(b.matrix.m[1][1], c, 1e-6);
        EXPECT_EQ(b.matrix.m[0][2], p->x);
        EXPECT_EQ(b.matrix.m[1][2], p->y);
        EXPECT_EQ(b.matrix.m[2][2], 1.0f);
        EXPECT_EQ(g.mDrawMode, DRAWMODE_NORMAL);
        EXPECT_FALSE(g.mColorizeImages);
    }
}

TEST_F(ParticlesTest, DrawnParticleShowsItsCelLikeTheBlitItself)
{
    Animate(AnimInfo::Once, 10);
    for (int blend : {6, 0}) {
        ParticleParams params = StillParams(100);
        params.blendMode = static_cast<int16_t>(blend);
        params.lifetimeMin = params.lifetimeMax = 1.0f;
        params.sizeStart = params.sizeEnd = 3.0f;
        const std::unique_ptr<Particles> owned = OneParticle(params, 32, 32);
        Particles& e = *owned;
        e.Update(0.25f);
        e.Update(0.25f);
        const Particle* p = e.FirstParticle();

        auto canvas = TandryTest::MakeCanvas(64, 64);
        canvas->FillRect(Rect(0, 0, 64, 64), Color(0x20, 0x20, 0x20, 255), DRAWMODE_NORMAL);
        auto expected = TandryTest::MakeCanvas(64, 64);
        expected->FillRect(Rect(0, 0, 64, 64), Color(0x20, 0x20, 0x20, 255), DRAWMODE_NORMAL);
        Graphics g(canvas.get());
        e.Draw(&g);

        Matrix3x3 m;
        m.LoadIdentity();
        m.Scale(3.0f, 3.0f);
        m.Translate(p->x, p->y);
        expected->BltMatrix(mSheet.get(), 0, 0, m, Rect(0, 0, 64, 64), Color::White,
                            blend == 6 ? DRAWMODE_NORMAL : DRAWMODE_ADDITIVE, Rect(0, 4, 4, 4), false);
        for (int y = 0; y < 64; ++y) {
            for (int x = 0; x < 64; ++x)
                ASSERT_EQ(canvas->GetPixel(x, y), expected->GetPixel(x, y)) << x << "," << y;
        }
        // The middle of the particle shows cel 4.
        EXPECT_EQ(canvas->GetPixel(static_cast<int>(p->x), static_cast<int>(p->y)), TandryTest::CelColor(4));
    }
}

TEST_F(ParticlesTest, WithoutASheetNothingIsDrawn)
{
    Particles::SetSheet(nullptr);
    Particles e("no-such-effect");
    EXPECT_EQ(e.GetImage(), nullptr);
    Particles f(StillParams(100), nullptr);
    f.StartAt(At(1, 1));
    f.Update(0.01f);
    RecordingImage dest(64, 64);
    Graphics g(&dest);
    f.Draw(&g);
    EXPECT_TRUE(dest.calls.empty());
}

TEST_F(ParticlesTest, BirthsPerUpdateAreLimited)
{
    ParticleParams params = StillParams(std::numeric_limits<int32_t>::max());
    Particles e(params, mSheet.get());
    e.StartAt(At(0, 0));
    e.Update(1.0f);
    EXPECT_EQ(e.LiveCount(), Particles::kMaxBirthsPerUpdate);
    e.Update(std::numeric_limits<float>::infinity());
    EXPECT_LE(e.LiveCount(), 2 * Particles::kMaxBirthsPerUpdate);
}

TEST_F(ParticlesTest, ParticleThatStopsBeingFiniteIsGivenBack)
{
    ParticleParams params = StillParams(100);
    params.speedMin = params.speedMax = 3e38f;
    params.direction = 1.5707963705062866f;
    const std::unique_ptr<Particles> owned = OneParticle(params, 0, 0);
    Particles& e = *owned;
    for (int i = 0; i < 4; ++i)
        e.Update(0.01f);
    EXPECT_EQ(e.LiveCount(), 0);
    EXPECT_TRUE(e.IsFinished());
}

TEST_F(ParticlesTest, SameSeedSameParticles)
{
    ParticleParams params = StillParams(700);
    params.speedMin = 1.0f;
    params.speedMax = 3.0f;
    params.spread = 6.0f;
    params.radialMin = -5.0f;
    params.radialMax = 5.0f;
    params.tangentialMin = -2.0f;
    params.tangentialMax = 2.0f;
    params.lifetimeMin = 0.1f;
    params.lifetimeMax = 0.6f;
    auto run = [&] {
        CrtSeed(77);
        Particles e(params, mSheet.get());
        e.StartAt(At(10, 10));
        std::vector<float> out;
        for (int i = 0; i < 100; ++i) {
            e.Update(0.01f);
            e.SetPosition(At(10.0f + static_cast<float>(i), 10), false);
        }
        for (const Particle* p : Live(e)) {
            out.push_back(p->x);
            out.push_back(p->y);
        }
        return out;
    };
    const std::vector<float> first = run();
    EXPECT_FALSE(first.empty());
    EXPECT_EQ(first, run());
}

TEST_F(ParticlesTest, DeletingAnEffectGivesItsParticlesBack)
{
    auto e = std::make_unique<Particles>(StillParams(1000), mSheet.get());
    e->StartAt(At(0, 0));
    for (int i = 0; i < 150; ++i)
        e->Update(0.01f);
    EXPECT_EQ(ParticlePool::Global().UsedCount(), 1500u);
    EXPECT_EQ(ParticlePool::Global().BlockCount(), 2u);
    e.reset();
    EXPECT_EQ(ParticlePool::Global().UsedCount(), 0u);
    EXPECT_EQ(ParticlePool::Global().BlockCount(), 1u);
}

TEST_F(ParticlesTest, ParameterFileIsReadThroughTheFileLayer)
{
    TestSupport::ScratchFolder folder(TestSupport::ScratchFolder::Enter);
    uint8_t block[ParticleParams::kSize];
    StillParams(150).ToBytes(block);
    TestSupport::WriteFile(folder / "data/particles/sparks", std::string(reinterpret_cast<char*>(block), 128));
    // Only the rate, in 8 bytes: the rest keeps the defaults.
    TestSupport::WriteFile(folder / "data/particles/short", std::string("\x01\x00\x06\x00\x20\x00\x00\x00", 8));
    std::string nan(reinterpret_cast<char*>(block), 128);
    nan[67] = '\x7f';
    nan[66] = '\xc0';
    TestSupport::WriteFile(folder / "data/particles/nan", nan);

    Particles sparks("sparks");
    EXPECT_TRUE(sparks.IsLoaded());
    EXPECT_EQ(sparks.Params().rate, 150);
    EXPECT_EQ(sparks.GetImage(), mSheet.get());

    Particles shortFile("SHORT");
    EXPECT_TRUE(shortFile.IsLoaded());
    EXPECT_EQ(shortFile.Params().fixedCel, 1);
    EXPECT_EQ(shortFile.Params().blendMode, 6);
    EXPECT_EQ(shortFile.Params().rate, 32);
    EXPECT_EQ(shortFile.Params().colorStart[3], 1.0f);
    EXPECT_EQ(shortFile.Params().colorEnd[3], 1.0f);
    EXPECT_EQ(shortFile.Params().lifetimeMax, 0.0f);

    EXPECT_FALSE(Particles("nan").IsLoaded());
    EXPECT_FALSE(Particles("missing").IsLoaded());
}

} // namespace
