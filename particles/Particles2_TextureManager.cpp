#include "particles/Particles2_TextureManager.h"

#include "graphics/display/DDImage.h"

namespace Tandry {

Particles2_TextureManager::Particles2_TextureManager() = default;
Particles2_TextureManager::~Particles2_TextureManager() = default;

int Particles2_TextureManager::Find(const std::vector<uint32_t>& ids) const
{
    for (size_t i = 0; i < mEntries.size(); ++i) {
        if (mEntries[i].ids == ids)
            return static_cast<int>(i) + 1;
    }
    return 0;
}

int Particles2_TextureManager::Add(std::unique_ptr<DDImage> atlas, std::vector<uint32_t> ids)
{
    mEntries.push_back({std::move(atlas), std::move(ids)});
    return static_cast<int>(mEntries.size());
}

Image* Particles2_TextureManager::Atlas(int number) const
{
    if (number < 1 || static_cast<size_t>(number) > mEntries.size())
        return nullptr;
    return mEntries[static_cast<size_t>(number) - 1].atlas.get();
}

} // namespace Tandry
