#include "particles/ParticlePool.h"

#include <algorithm>
#include <bit>
#include <functional>

namespace Tandry {

ParticlePool::ParticlePool()
{
    Reset();
}

ParticlePool& ParticlePool::Global()
{
    static ParticlePool pool;
    return pool;
}

std::unique_ptr<ParticlePool::Block> ParticlePool::NewBlock()
{
    return std::unique_ptr<Block>(new Block); // default-initialised: see Block::records
}

void ParticlePool::Reset()
{
    mBlocks.clear();
    mBlocks.push_back(NewBlock());
    mFirstMaybeFree = 0;
    mLastGiven = 0;
}

int ParticlePool::Block::Find(const Particle* record) const
{
    // Compared through std::less: the record may belong to another block.
    const std::less<const Particle*> before;
    const Particle* first = records.data();
    if (before(record, first) || !before(record, first + kBlockSize))
        return -1;
    // An address inside a record stands for the record that holds it.
    const std::ptrdiff_t bytes = reinterpret_cast<const char*>(record) - reinterpret_cast<const char*>(first);
    return static_cast<int>(bytes / static_cast<std::ptrdiff_t>(sizeof(Particle)));
}

// The bits past the last record are never set, so a search that lands on one
// has found nothing.
int ParticlePool::Block::FreeAtOrAbove(int from) const
{
    for (int w = from / 32; w < kWords; ++w) {
        uint32_t free = ~used[w];
        if (w == from / 32)
            free &= ~0u << (from % 32);
        if (free != 0) {
            const int i = w * 32 + std::countr_zero(free);
            return i < kBlockSize ? i : -1;
        }
    }
    return -1;
}

int ParticlePool::Block::FreeBelow(int from) const
{
    if (from <= 0)
        return -1;
    const int last = from - 1;
    for (int w = last / 32; w >= 0; --w) {
        uint32_t free = ~used[w];
        if (w == last / 32 && last % 32 != 31)
            free &= (1u << (last % 32 + 1)) - 1;
        if (free != 0)
            return w * 32 + 31 - std::countl_zero(free);
    }
    return -1;
}

Particle* ParticlePool::TakeFrom(Block& block)
{
    // Records are mostly taken and given in order of birth, so the used count
    // is a good guess for the first free index.
    int found = block.FreeAtOrAbove(block.usedCount);
    if (found < 0)
        found = block.FreeBelow(block.usedCount);
    block.used[found / 32] |= 1u << (found % 32);
    ++block.usedCount;
    return &block.records[found];
}

Particle* ParticlePool::Take()
{
    for (size_t b = mFirstMaybeFree; b < mBlocks.size(); ++b) {
        if (mBlocks[b]->usedCount < kBlockSize) {
            mFirstMaybeFree = b;
            return TakeFrom(*mBlocks[b]);
        }
    }
    mBlocks.push_back(NewBlock());
    mFirstMaybeFree = mBlocks.size() - 1;
    return TakeFrom(*mBlocks.back());
}

void ParticlePool::Give(Particle* record)
{
    if (record == nullptr)
        return;
    size_t b = mLastGiven;
    int i = b < mBlocks.size() ? mBlocks[b]->Find(record) : -1;
    for (size_t other = 0; i < 0 && other < mBlocks.size(); ++other) {
        b = other;
        i = mBlocks[b]->Find(record);
    }
    if (i < 0)
        return;
    Block& block = *mBlocks[b];
    if (!block.IsUsed(i))
        return;
    block.used[i / 32] &= ~(1u << (i % 32));
    --block.usedCount;
    mFirstMaybeFree = std::min(mFirstMaybeFree, b);
    mLastGiven = b;
    // The blocks after an erased one move down by one, so every block before
    // mFirstMaybeFree (at most b) stays full.
    if (block.usedCount == 0 && mBlocks.size() > 1)
        mBlocks.erase(mBlocks.begin() + static_cast<std::ptrdiff_t>(b));
}

size_t ParticlePool::UsedCount() const
{
    size_t n = 0;
    for (const auto& block : mBlocks)
        n += static_cast<size_t>(block->usedCount);
    return n;
}

int ParticlePool::IndexOf(const Particle* record) const
{
    for (const auto& block : mBlocks) {
        const int i = block->Find(record);
        if (i >= 0)
            return i;
    }
    return -1;
}

} // namespace Tandry
