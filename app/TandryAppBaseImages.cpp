// Images by file name: one image file read into a new surface image, and the
// shared, counted images that the resources and the game ask for by name and
// variant. The loading thread asks for shared images as well as the main one.
#include "app/TandryAppBase.h"

#include "graphics/display/DDImage.h"
#include "resources/images/ImageLib.h"
#include "util/StringUtils.h"

namespace Tandry {

namespace {

// Marks an image read from a file for the texture code.
constexpr int kTextureFlagFromFile = 8;

} // namespace

DDImage* TandryAppBase::LoadImageFile(const std::string& path, bool commit)
{
    if (path.empty())
        return nullptr;
    const std::unique_ptr<ImageLib::Image> decoded = ImageLib::GetImage(path, true);
    if (decoded == nullptr)
        return nullptr;
    auto* image = new DDImage();
    image->mTextureFlags |= kTextureFlagFromFile;
    image->mFileName = path;
    image->SetBits(decoded->bits, decoded->width, decoded->height, commit);
    return image;
}

SharedImageHandle TandryAppBase::AcquireSharedImage(const std::string& name, const std::string& variant, bool* isNew)
{
    SharedImageHandle handle;
    bool inserted = false;
    {
        CritSectLock lock(GetDisplayLock());
        auto [it, added] = mSharedImages.try_emplace(std::make_pair(UpperCaseCopy(name), UpperCaseCopy(variant)));
        inserted = added;
        handle.entry = &it->second;
        handle.entry->refCount.fetch_add(1);
        if (inserted)
            handle.entry->loading = true;
    }
    if (isNew != nullptr)
        *isNew = inserted;

    SharedImageEntry& entry = *handle.entry;
    if (inserted) {
        // Outside the display lock: the new image registers under it, and a
        // file may take long to read.
        Image* image = !name.empty() && name[0] == '!' ? new DDImage() : LoadImageFile(name, false);
        {
            std::lock_guard<std::mutex> lock(mSharedImageLoadLock);
            entry.image = image;
            entry.loading = false;
        }
        mSharedImageLoaded.notify_all();
    } else if (entry.loading) {
        std::unique_lock<std::mutex> lock(mSharedImageLoadLock);
        mSharedImageLoaded.wait(lock, [&entry] { return !entry.loading; });
    }
    return handle;
}

} // namespace Tandry
