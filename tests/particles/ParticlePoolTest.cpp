#include <gtest/gtest.h>

#include <vector>

#include "particles/ParticlePool.h"

namespace {

using Tandry::Particle;
using Tandry::ParticlePool;

TEST(ParticlePoolTest, GrowsByBlocksAndKeepsTheLastOne)
{
    ParticlePool pool;
    std::vector<Particle*> taken;
    for (int i = 0; i < 2500; ++i)
        taken.push_back(pool.Take());
    EXPECT_EQ(pool.BlockCount(), 3u);
    EXPECT_EQ(pool.UsedCount(), 2500u);

    // Every record is distinct and writable (the sanitiser sees the writes).
    for (size_t i = 0; i < taken.size(); ++i)
        taken[i]->age = static_cast<float>(i);
    for (size_t i = 0; i < taken.size(); ++i)
        ASSERT_EQ(taken[i]->age, static_cast<float>(i));

    for (Particle* p : taken)
        pool.Give(p);
    EXPECT_EQ(pool.BlockCount(), 1u);
    EXPECT_EQ(pool.UsedCount(), 0u);
}

TEST(ParticlePoolTest, EmptiedMiddleBlockIsReleased)
{
    ParticlePool pool;
    std::vector<Particle*> taken;
    for (int i = 0; i < 2001; ++i)
        taken.push_back(pool.Take());
    ASSERT_EQ(pool.BlockCount(), 3u);
    for (int i = 1000; i < 2000; ++i)
        pool.Give(taken[i]);
    EXPECT_EQ(pool.BlockCount(), 2u);
    EXPECT_EQ(pool.UsedCount(), 1001u);
    // The survivors still belong to the pool and are given back normally.
    pool.Give(taken[2000]);
    pool.Give(taken[0]);
    EXPECT_EQ(pool.UsedCount(), 999u);
}

TEST(ParticlePoolTest, SearchStartsAtTheUsedCount)
{
    ParticlePool pool;
    Particle* a = pool.Take();
    Particle* b = pool.Take();
    Particle* c = pool.Take();
    EXPECT_EQ(pool.IndexOf(a), 0);
    EXPECT_EQ(pool.IndexOf(b), 1);
    EXPECT_EQ(pool.IndexOf(c), 2);

    // Used count 2: the search starts at index 2 (taken) and finds 3, not
    // the freed index 0.
    pool.Give(a);
    EXPECT_EQ(pool.IndexOf(pool.Take()), 3);
    // Used count 3 with 0 free below and 4.. free above: 4 wins.
    EXPECT_EQ(pool.IndexOf(pool.Take()), 4);
}

TEST(ParticlePoolTest, SearchGoesDownWhenNothingIsFreeAbove)
{
    ParticlePool pool;
    std::vector<Particle*> taken;
    for (int i = 0; i < ParticlePool::kBlockSize; ++i)
        taken.push_back(pool.Take());
    pool.Give(taken[10]);
    pool.Give(taken[500]);
    // Used count 998: 998 and 999 are taken, so the search goes down from
    // 997 and finds 500 before 10.
    EXPECT_EQ(pool.IndexOf(pool.Take()), 500);
    EXPECT_EQ(pool.IndexOf(pool.Take()), 10);
    EXPECT_EQ(pool.BlockCount(), 1u);
}

TEST(ParticlePoolTest, ForeignAndRepeatedGivesAreIgnored)
{
    ParticlePool pool;
    Particle outside{};
    Particle* p = pool.Take();
    pool.Give(&outside);
    pool.Give(nullptr);
    EXPECT_EQ(pool.UsedCount(), 1u);
    pool.Give(p);
    pool.Give(p);
    EXPECT_EQ(pool.UsedCount(), 0u);
}

TEST(ParticlePoolTest, ResetStartsWithOneEmptyBlock)
{
    ParticlePool pool;
    for (int i = 0; i < 1500; ++i)
        pool.Take();
    pool.Reset();
    EXPECT_EQ(pool.BlockCount(), 1u);
    EXPECT_EQ(pool.UsedCount(), 0u);
    EXPECT_EQ(pool.IndexOf(pool.Take()), 0);
}

} // namespace
