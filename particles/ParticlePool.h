// The store every own-engine particle record comes from: blocks of 1000
// records, each with a bitmap of used records and a used count. Effects take
// a record per birth and give it back at its death; the pool grows by a block
// when all are full and releases an emptied block unless it is the last.
// Main thread only, not locked.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "particles/Particle.h"

namespace Tandry {

class ParticlePool {
public:
    static constexpr int kBlockSize = 1000;

    ParticlePool();
    ParticlePool(const ParticlePool&) = delete;
    ParticlePool& operator=(const ParticlePool&) = delete;

    // The process-wide pool, built on first use and destroyed at exit.
    static ParticlePool& Global();

    // A record with undefined contents; never null.
    Particle* Take();
    // A record this pool did not hand out, or null, is ignored.
    void Give(Particle* record);

    size_t BlockCount() const { return mBlocks.size(); }
    // Used records over all blocks.
    size_t UsedCount() const;
    // Index of a record within its block, or -1 when no block holds it.
    int IndexOf(const Particle* record) const;

    // Tests: drops every block and starts again with one empty block. No
    // record handed out before may be given back afterwards.
    void Reset();

private:
    static constexpr int kWords = (kBlockSize + 31) / 32;

    struct Block {
        // Left uninitialised: a taken record's contents are undefined anyway,
        // and clearing 1000 records on every growth costs more than the takes.
        std::array<Particle, kBlockSize> records;
        std::array<uint32_t, kWords> used{};
        int usedCount = 0;

        bool IsUsed(int i) const { return (used[i / 32] >> (i % 32) & 1u) != 0; }
        // The index of a record inside this block, else -1.
        int Find(const Particle* record) const;
        // The first free index at or above from, else -1.
        int FreeAtOrAbove(int from) const;
        // The last free index below from, else -1.
        int FreeBelow(int from) const;
    };

    static Particle* TakeFrom(Block& block);
    static std::unique_ptr<Block> NewBlock();

    std::vector<std::unique_ptr<Block>> mBlocks;
    // Every block before this index is full, so a take starts its search here.
    size_t mFirstMaybeFree = 0;
    // The block of the last record given back: records die in runs from one block.
    size_t mLastGiven = 0;
};

} // namespace Tandry
