// The cache of particle atlases that the vendor-library wrapper draws from:
// one entry per distinct ordered set of library textures, made on first use
// and kept until the effects files are freed. An entry's number (1-based) is
// what the wrapper stores in the library as a particles type's texture id.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace Tandry {

class DDImage;
class Image;

class Particles2_TextureManager {
public:
    Particles2_TextureManager();
    ~Particles2_TextureManager();
    Particles2_TextureManager(const Particles2_TextureManager&) = delete;
    Particles2_TextureManager& operator=(const Particles2_TextureManager&) = delete;

    // The number of the entry whose identifiers equal ids in order, or 0.
    int Find(const std::vector<uint32_t>& ids) const;
    // Appends an entry and answers its number.
    int Add(std::unique_ptr<DDImage> atlas, std::vector<uint32_t> ids);
    // The atlas of entry number, or null for a number without entry.
    Image* Atlas(int number) const;
    size_t Count() const { return mEntries.size(); }

private:
    struct Entry {
        std::unique_ptr<DDImage> atlas;
        std::vector<uint32_t> ids;
    };
    std::vector<Entry> mEntries;
};

} // namespace Tandry
