// A counted reference to a shared image (the resource manager's images, images
// loaded by file name), or a carrier of an image of its own. Copies and
// releases may happen on any thread; the last release of an entry tells the
// image host, whose clean-up frees the image later.
#pragma once

namespace Tandry {

class Image;
struct SharedImageEntry;

class SharedImageHandle {
public:
    SharedImageHandle() = default;
    // Takes the entry (counted) and the own image, but never ownership of it.
    SharedImageHandle(const SharedImageHandle& other);
    // Assignment must drop the old entry first: use Assign.
    SharedImageHandle& operator=(const SharedImageHandle&) = delete;
    ~SharedImageHandle() { Release(); }

    // Releases, then takes the other's entry (counted); not its own image.
    void Assign(const SharedImageHandle& other);
    // The own image when set, else the entry's.
    Image* GetImage() const;
    Image* GetEntryImage() const;
    // Deletes an owned image, drops the own image and the entry; safe to repeat.
    void Release();

    SharedImageEntry* entry = nullptr;
    Image* ownImage = nullptr;
    // Release deletes ownImage.
    bool ownsImage = false;
};

} // namespace Tandry
