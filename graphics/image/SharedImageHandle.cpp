#include "graphics/image/SharedImageHandle.h"

#include "graphics/image/Image.h"
#include "graphics/image/ImageHost.h"
#include "graphics/image/SharedImageEntry.h"

namespace Tandry {

SharedImageHandle::SharedImageHandle(const SharedImageHandle& other)
    : entry(other.entry), ownImage(other.ownImage)
{
    if (entry != nullptr)
        entry->refCount.fetch_add(1);
}

void SharedImageHandle::Assign(const SharedImageHandle& other)
{
    // Releasing first would drop the very entry (and image) to be taken.
    if (&other == this)
        return;
    Release();
    entry = other.entry;
    if (entry != nullptr)
        entry->refCount.fetch_add(1);
}

Image* SharedImageHandle::GetImage() const
{
    if (ownImage != nullptr)
        return ownImage;
    return GetEntryImage();
}

Image* SharedImageHandle::GetEntryImage() const
{
    return entry != nullptr ? entry->image : nullptr;
}

void SharedImageHandle::Release()
{
    if (ownsImage && ownImage != nullptr)
        delete ownImage;
    ownImage = nullptr;
    if (entry != nullptr) {
        // Exactly one release sees the count reach 0, even with two threads.
        if (entry->refCount.fetch_sub(1) == 1) {
            if (ImageHost* host = GetImageHost())
                host->SharedImageReleased();
        }
        entry = nullptr;
    }
}

} // namespace Tandry
