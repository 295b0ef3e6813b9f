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
    struct Block {
        std::array<Particle, kBlockSize> records;
        std::array<uint32_t, (kBlockSize + 31) / 32> used{};
        int usedCount = 0;

        bool IsUsed(int i) const { return (used[i / 32] >> (i % 32) & 1u) != 0; }
        // The index of a record inside this block, else -1.
        int Find(const Particle* record) const;
    };

    static Particle* TakeFrom(Block& block);

    std::vector<std::unique_ptr<Block>> mBlocks;
};

} // namespace Tandry
