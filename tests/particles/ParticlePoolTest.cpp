#include <gtest/gtest.h>

#include <cstdint>
#include <random>
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

// The pool's rules written out plainly: blocks of used flags, the first block
// that is not full, the search up from the used count then down below it, a
// new block when all are full, an emptied block dropped unless it is the last.
class PoolModel {
public:
    struct Block {
        std::vector<bool> used = std::vector<bool>(ParticlePool::kBlockSize, false);
        int count = 0;
        const Particle* base = nullptr; // learnt from the pool on first take
    };

    // The block and index the rules choose; the block is grown when needed.
    std::pair<size_t, int> Take()
    {
        size_t b = 0;
        while (b < blocks.size() && blocks[b].count == ParticlePool::kBlockSize)
            ++b;
        if (b == blocks.size())
            blocks.emplace_back();
        Block& block = blocks[b];
        int found = -1;
        for (int i = block.count; i < ParticlePool::kBlockSize && found < 0; ++i)
            if (!block.used[i])
                found = i;
        for (int i = block.count - 1; i >= 0 && found < 0; --i)
            if (!block.used[i])
                found = i;
        block.used[found] = true;
        ++block.count;
        return {b, found};
    }

    void Give(const Particle* record)
    {
        for (size_t b = 0; b < blocks.size(); ++b) {
            const std::ptrdiff_t i = record - blocks[b].base;
            if (blocks[b].base == nullptr || i < 0 || i >= ParticlePool::kBlockSize || !blocks[b].used[i])
                continue;
            blocks[b].used[i] = false;
            if (--blocks[b].count == 0 && blocks.size() > 1)
                blocks.erase(blocks.begin() + static_cast<std::ptrdiff_t>(b));
            return;
        }
    }

    size_t Used() const
    {
        size_t n = 0;
        for (const Block& block : blocks)
            n += static_cast<size_t>(block.count);
        return n;
    }

    std::vector<Block> blocks = std::vector<Block>(1);
};

// Births and deaths in runs and at random, over several blocks, so the search
// crosses bitmap words both ways and blocks empty, fill and go in any order.
TEST(ParticlePoolTest, FollowsTheRulesOverLongRandomRuns)
{
    ParticlePool pool;
    PoolModel model;
    std::vector<Particle*> live;
    std::mt19937 random(1234);
    for (int round = 0; round < 400; ++round) {
        const int phase = round % 8;
        const int ops = static_cast<int>(random() % 120) + 1;
        for (int op = 0; op < ops; ++op) {
            const bool take = live.empty() || (phase < 4 ? random() % 4 != 0 : random() % 4 == 0);
            if (take) {
                const auto [b, index] = model.Take();
                Particle* p = pool.Take();
                ASSERT_EQ(pool.IndexOf(p), index) << "round " << round;
                if (model.blocks[b].base == nullptr)
                    model.blocks[b].base = p - index;
                ASSERT_EQ(p - index, model.blocks[b].base) << "wrong block, round " << round;
                live.push_back(p);
            } else {
                // Mostly the oldest (deaths follow births), sometimes any.
                const size_t at = random() % 3 == 0 ? random() % live.size() : 0;
                model.Give(live[at]);
                pool.Give(live[at]);
                live.erase(live.begin() + static_cast<std::ptrdiff_t>(at));
            }
        }
        ASSERT_EQ(pool.UsedCount(), model.Used());
        ASSERT_EQ(pool.BlockCount(), model.blocks.size());
    }
    for (Particle* p : live)
        pool.Give(p);
    EXPECT_EQ(pool.UsedCount(), 0u);
    EXPECT_EQ(pool.BlockCount(), 1u);
}

// The search up from the used count must stop at the last record: the bits of
// the bitmap's last word past it stand for no record.
TEST(ParticlePoolTest, AFullUpperEndSendsTheSearchDownAcrossWords)
{
    ParticlePool pool;
    std::vector<Particle*> taken;
    for (int i = 0; i < ParticlePool::kBlockSize; ++i)
        taken.push_back(pool.Take());
    for (int i : {31, 32, 63, 64, 65})
        pool.Give(taken[i]);
    // Used count 995, 995..999 taken: down from 994 gives 65, 64, 63, 32, 31.
    for (int want : {65, 64, 63, 32, 31})
        EXPECT_EQ(pool.IndexOf(pool.Take()), want);
    EXPECT_EQ(pool.BlockCount(), 1u);
    EXPECT_EQ(pool.IndexOf(pool.Take()), 0) << "a full block sends the take to a new block";
    EXPECT_EQ(pool.BlockCount(), 2u);
}

} // namespace
