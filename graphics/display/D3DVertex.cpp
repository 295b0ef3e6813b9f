#include "graphics/display/D3DVertex.h"

#include <algorithm>
#include <new>

namespace Tandry {

VertexList::VertexList(const VertexList& other)
{
    *this = other;
}

VertexList& VertexList::operator=(const VertexList& other)
{
    if (this == &other)
        return *this;
    mCount = 0;
    Reserve(other.mCount);
    std::copy_n(other.Data(), other.mCount, Data());
    mCount = other.mCount;
    return *this;
}

void VertexList::Reserve(int capacity)
{
    if (capacity <= mCapacity)
        return;
    int grown = mCapacity;
    while (grown < capacity) {
        if (grown > (1 << 29))
            throw std::bad_alloc();
        grown *= 2;
    }
    auto heap = std::make_unique<D3DVertex[]>(static_cast<size_t>(grown));
    std::copy_n(Data(), mCount, heap.get());
    mHeap = std::move(heap);
    mCapacity = grown;
}

void VertexList::Add(const D3DVertex& vertex)
{
    if (mCount == mCapacity)
        Reserve(mCapacity + 1);
    Data()[mCount++] = vertex;
}

} // namespace Tandry
