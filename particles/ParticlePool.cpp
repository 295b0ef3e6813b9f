#include "particles/ParticlePool.h"

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

void ParticlePool::Reset()
{
    mBlocks.clear();
    mBlocks.push_back(std::make_unique<Block>());
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

Particle* ParticlePool::TakeFrom(Block& block)
{
    // Records are mostly taken and given in order of birth, so the used count
    // is a good guess for the first free index.
    int found = -1;
    for (int i = block.usedCount; i < kBlockSize && found < 0; ++i) {
        if (!block.IsUsed(i))
            found = i;
    }
    for (int i = block.usedCount - 1; i >= 0 && found < 0; --i) {
        if (!block.IsUsed(i))
            found = i;
    }
    block.used[found / 32] |= 1u << (found % 32);
    ++block.usedCount;
    return &block.records[found];
}

Particle* ParticlePool::Take()
{
    for (auto& block : mBlocks) {
        if (block->usedCount < kBlockSize)
            return TakeFrom(*block);
    }
    mBlocks.push_back(std::make_unique<Block>());
    return TakeFrom(*mBlocks.back());
}

void ParticlePool::Give(Particle* record)
{
    if (record == nullptr)
        return;
    for (auto it = mBlocks.begin(); it != mBlocks.end(); ++it) {
        Block& block = **it;
        const int i = block.Find(record);
        if (i < 0)
            continue;
        if (!block.IsUsed(i))
            return;
        block.used[i / 32] &= ~(1u << (i % 32));
        --block.usedCount;
        if (block.usedCount == 0 && mBlocks.size() > 1)
            mBlocks.erase(it);
        return;
    }
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
