#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "graphics/context/Graphics.h"
#include "graphics/context/RecordingImage.h"
#include "particles/GlobalParticleRef.h"
#include "particles/ParticleTestSupport.h"
#include "particles/Particles.h"
#include "particles/cGlobalParticles.h"
#include "widgets/Widget.h"
#include "platform/fs/ScratchFolder.h"
#include "platform/particlelib/ParticleLibrary.h"

namespace {

using namespace Tandry;

class cGlobalParticlesTest : public TandryTest::ParticleTest {
protected:
    void SetUp() override
    {
        ParticleTest::SetUp();
        cGlobalParticles::Instance().ResetForTests();
        uint8_t block[ParticleParams::kSize];
        ParticleParams params = TandryTest::StillParams(100);
        params.duration = 0.05f;
        params.lifetimeMin = params.lifetimeMax = 0.1f;
        params.ToBytes(block);
        TestSupport::WriteFile(mFolder / "data/particles/spark", std::string(reinterpret_cast<char*>(block), 128));
    }
    void TearDown() override
    {
        cGlobalParticles::Instance().ResetForTests();
        Platform::ResetParticleLibrary();
        ParticleTest::TearDown();
    }


    static Particles* Own(GlobalParticleRef* handle) { return static_cast<Particles*>(handle->effect); }

    cGlobalParticles& mGlobal = cGlobalParticles::Instance();
    TestSupport::ScratchFolder mFolder{TestSupport::ScratchFolder::Enter};
};

TEST_F(cGlobalParticlesTest, SpawnLoadsOnceAndPlaysIndependentCopies)
{
    EXPECT_FALSE(mGlobal.mouseVisible);
    GlobalParticleRef* a = mGlobal.Spawn("spark", false);
    // The file is gone, yet the second copy comes from the cached prototype.
    std::filesystem::remove(mFolder / "data/particles/spark");
    GlobalParticleRef* b = mGlobal.Spawn("spark", false);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    ASSERT_TRUE(a->effect->IsOwnEngine());
    ASSERT_TRUE(b->effect->IsOwnEngine());
    EXPECT_NE(a->effect, b->effect);
    EXPECT_EQ(Own(b)->Params().rate, 100);

    // Not started until placed.
    mGlobal.Update();
    EXPECT_EQ(Own(a)->LiveCount(), 0);
    a->SetPosition(At(10, 10));
    mGlobal.Update();
    mGlobal.Update();
    EXPECT_EQ(Own(a)->LiveCount(), 2);
    EXPECT_EQ(Own(b)->LiveCount(), 0);
    EXPECT_TRUE(mGlobal.dirty);
    delete a;
    delete b;
}

TEST_F(cGlobalParticlesTest, UnknownNameStillGivesAnEmptyVendorEffect)
{
    GlobalParticleRef* h = mGlobal.Spawn("nowhere", true);
    ASSERT_NE(h, nullptr);
    EXPECT_FALSE(h->effect->IsOwnEngine());
    h->SetPosition(At(0, 0));
    mGlobal.Update();
    EXPECT_TRUE(mGlobal.Running().empty()) << "the empty emitter ends at once";
}

TEST_F(cGlobalParticlesTest, FinishedEffectsEndTheirHandles)
{
    GlobalParticleRef* mine = mGlobal.Spawn("spark", false);
    GlobalParticleRef* managed = mGlobal.Spawn("spark", true);
    mine->SetPosition(At(5, 5));
    managed->SetPosition(At(5, 5));
    int updates = 0;
    while (!mGlobal.Running().empty() && updates < 100) {
        mGlobal.Update();
        ++updates;
    }
    EXPECT_TRUE(mGlobal.Running().empty());
    // The caller's handle sees its effect end; the managed one was deleted
    // (the leak checker would say otherwise).
    EXPECT_EQ(mine->effect, nullptr);
    StopParticles(mine);
    mine->SetPosition(At(1, 1));
    delete mine;
}

TEST_F(cGlobalParticlesTest, FrozenKeepsItsParticlesAndDrawsHiddenUpdatesAndDoesNot)
{
    GlobalParticleRef* frozen = mGlobal.Spawn("spark", false);
    GlobalParticleRef* hidden = mGlobal.Spawn("spark", false);
    frozen->SetPosition(At(20, 20));
    hidden->SetPosition(At(40, 40));
    mGlobal.Update();
    frozen->frozen = true;
    hidden->hidden = true;
    const float age = Own(frozen)->FirstParticle()->age;
    mGlobal.Update();
    mGlobal.Update();
    EXPECT_EQ(Own(frozen)->LiveCount(), 1);
    EXPECT_EQ(Own(frozen)->FirstParticle()->age, age);
    EXPECT_EQ(Own(hidden)->LiveCount(), 3);

    RecordingImage dest(64, 64);
    Graphics g(&dest);
    mGlobal.Draw(&g);
    ASSERT_EQ(dest.calls.size(), 1u);
    EXPECT_EQ(dest.calls[0].matrix.m[0][2], Own(frozen)->FirstParticle()->x);
    delete frozen;
    delete hidden;
}

TEST_F(cGlobalParticlesTest, DisabledNothingAdvancesOrEnds)
{
    GlobalParticleRef* h = mGlobal.Spawn("spark", false);
    h->SetPosition(At(5, 5));
    mGlobal.Update();
    mGlobal.enabled = false;
    h->effect->StopEmitting();
    for (int i = 0; i < 100; ++i)
        mGlobal.Update();
    EXPECT_EQ(Own(h)->LiveCount(), 1);
    EXPECT_EQ(mGlobal.Running().size(), 1u);
    mGlobal.enabled = true;
    for (int i = 0; i < 100 && h->effect != nullptr; ++i)
        mGlobal.Update();
    EXPECT_EQ(h->effect, nullptr);
    delete h;
}

TEST_F(cGlobalParticlesTest, CallerDeletingItsHandleMidEffectLeavesTheEffectToFinish)
{
    GlobalParticleRef* h = mGlobal.Spawn("spark", false);
    float where[2] = {5, 5};
    h->SetPosition(where);
    mGlobal.Update();
    Particles* effect = Own(h);
    EXPECT_TRUE(effect->IsEmitting());
    delete h;
    // Stopped by the deletion; the entry no longer knows the handle.
    EXPECT_FALSE(effect->IsEmitting());
    ASSERT_EQ(mGlobal.Running().size(), 1u);
    EXPECT_EQ(mGlobal.Running().front().handle, nullptr);
    // Freed memory would be read here under the sanitiser if the entry kept it.
    for (int i = 0; i < 100 && !mGlobal.Running().empty(); ++i) {
        mGlobal.Update();
        RecordingImage dest(64, 64);
        Graphics g(&dest);
        mGlobal.Draw(&g);
    }
    EXPECT_TRUE(mGlobal.Running().empty());
}

TEST_F(cGlobalParticlesTest, ShutdownClearsRunningEffectsAndPrototypes)
{
    GlobalParticleRef* mine = mGlobal.Spawn("spark", false);
    mGlobal.Spawn("spark", true);
    mine->SetPosition(At(1, 1));
    mGlobal.Update();
    mGlobal.ClearActive();
    EXPECT_TRUE(mGlobal.Running().empty());
    EXPECT_EQ(mine->effect, nullptr);
    mGlobal.ClearNamed();
    // The prototype is read again after the clear.
    std::filesystem::remove(mFolder / "data/particles/spark");
    GlobalParticleRef* again = mGlobal.Spawn("spark", false);
    EXPECT_FALSE(again->effect->IsOwnEngine());
    delete again;
    delete mine;
}

TEST_F(cGlobalParticlesTest, StaysAboveTheBoardsAddedAfterIt)
{
    Widget root;
    Widget board;
    root.AddWidget(&mGlobal);
    root.AddWidget(&board);
    ASSERT_EQ(root.children.size(), 2u);
    EXPECT_EQ(root.children.back(), &mGlobal);
    root.RemoveAllWidgets();
}

} // namespace
