// Loading an image record: the shared image of its file, the alpha pictures
// merged into a newly read image, and the record's flags applied to the image.
#include "resources/manager/ResourceManager.h"

#include "graphics/display/DDImage.h"
#include "graphics/image/MemoryImage.h"
#include "resources/images/ImageLib.h"
#include "resources/manager/ResourceHost.h"
#include "util/SectionProfilerScope.h"

#include <memory>

namespace Tandry {

namespace {

// Texture hint bits of MemoryImage::mTextureFlags.
constexpr int kTextureMinSubdivide = 1;
constexpr int kTextureA4R4G4B4 = 4;
constexpr int kTextureA8R8G8B8 = 8;

// Sets the colour of alpha-only images for one load and puts the default back
// on every way out, so the next load on this thread never inherits it.
class AlphaColorScope {
public:
    explicit AlphaColorScope(uint32_t color) { gAlphaColor = color; }
    ~AlphaColorScope() { gAlphaColor = kDefaultAlphaColor; }
    AlphaColorScope(const AlphaColorScope&) = delete;
    AlphaColorScope& operator=(const AlphaColorScope&) = delete;
};

// The alpha byte of each pixel becomes the low (blue) byte of the mask pixel.
inline uint32_t WithAlphaOf(uint32_t pixel, uint32_t mask)
{
    return (pixel & 0x00FFFFFFu) | (mask & 0xFFu) << 24;
}

} // namespace

bool ResourceManager::DoLoadImage(ImageRes* record)
{
    SectionProfilerScope section("ResourceManager:GetImage");

    if (mApp == nullptr)
        return Fail("Failed to load image: " + record->path);
    bool isNew = false;
    SharedImageHandle handle;
    {
        AlphaColorScope alphaColor(record->alphaColor);
        handle.Assign(mApp->AcquireResourceImage(record->path, record->variant, &isNew));
    }

    Image* image = handle.GetEntryImage();
    if (image == nullptr)
        return Fail("Failed to load image: " + record->path);
    auto* memoryImage = dynamic_cast<MemoryImage*>(image);
    auto* surfaceImage = dynamic_cast<DDImage*>(image);

    if (isNew && (!record->alphaImage.empty() || !record->alphaGridImage.empty())) {
        // Only pixels in memory can take a mask.
        if (memoryImage == nullptr)
            return Fail("Failed to load image: " + record->path);
        if (!record->alphaImage.empty() && !LoadAlphaImage(record, memoryImage))
            return false;
        if (!record->alphaGridImage.empty() && !LoadAlphaGridImage(record, memoryImage))
            return false;
    }

    if (memoryImage != nullptr)
        memoryImage->ScanAlpha();
    record->image.Assign(handle);
    if (memoryImage != nullptr) {
        memoryImage->mWantDiscard = record->noBits;

        if (record->ddSurface && surfaceImage != nullptr) {
            SectionProfilerScope surfaceSection("ResourceManager:DDSurface");
            surfaceImage->ScanAlpha();
            if (!surfaceImage->mHasAlpha) {
                surfaceImage->mWantSurface = true;
                surfaceImage->mWantDiscard = true;
            }
        }

        if (record->palletize) {
            SectionProfilerScope paletteSection("ResourceManager:Palletize");
            // A surface holds the picture already: it is converted when next rebuilt.
            if (surfaceImage != nullptr && surfaceImage->mSurface != nullptr)
                surfaceImage->mWantPalette = true;
            else
                memoryImage->Palletize();
        }

        if (record->a4r4g4b4)
            memoryImage->mTextureFlags |= kTextureA4R4G4B4;
        if (record->a8r8g8b8)
            memoryImage->mTextureFlags |= kTextureA8R8G8B8;
        if (record->minSubdivide)
            memoryImage->mTextureFlags |= kTextureMinSubdivide;
    }

    if (record->animation.type != AnimInfo::None)
        image->mAnimInfo = std::make_unique<AnimInfo>(record->animation);
    image->mNumRows = record->rows;
    image->mNumCols = record->cols;

    if (memoryImage != nullptr && memoryImage->mWantDiscard)
        memoryImage->DiscardBits();

    ResourceLoadedHook(record);
    return true;
}

bool ResourceManager::LoadAlphaImage(ImageRes* record, MemoryImage* image)
{
    SectionProfilerScope section("ResourceManager::GetImage");
    const std::unique_ptr<ImageLib::Image> alpha = ImageLib::GetImage(record->alphaImage, true);
    if (alpha == nullptr)
        return Fail("Failed to load image: " + record->alphaImage);
    if (alpha->width != image->mWidth || alpha->height != image->mHeight)
        return Fail("AlphaImage size mismatch between " + record->path + " and " + record->alphaImage);
    uint32_t* bits = image->GetBits();
    if (bits == nullptr)
        return Fail("Failed to load image: " + record->path);
    const size_t count = static_cast<size_t>(alpha->width) * static_cast<size_t>(alpha->height);
    for (size_t i = 0; i < count; ++i)
        bits[i] = WithAlphaOf(bits[i], alpha->bits[i]);
    image->MarkBitsChanged();
    return true;
}

bool ResourceManager::LoadAlphaGridImage(ImageRes* record, MemoryImage* image)
{
    const std::unique_ptr<ImageLib::Image> grid = ImageLib::GetImage(record->alphaGridImage, true);
    if (grid == nullptr)
        return Fail("Failed to load image: " + record->alphaGridImage);
    // Rows and columns are at least 1 from the manifest; a cel narrower than
    // a pixel leaves no grid size that could match.
    const int celWidth = image->mWidth / record->cols;
    const int celHeight = image->mHeight / record->rows;
    if (grid->width != celWidth || grid->height != celHeight)
        return Fail("GridAlphaImage size mismatch between " + record->path + " and " + record->alphaGridImage);
    uint32_t* bits = image->GetBits();
    if (bits == nullptr)
        return Fail("Failed to load image: " + record->path);
    const size_t stride = static_cast<size_t>(image->mWidth);
    for (int row = 0; row < record->rows; ++row) {
        for (int col = 0; col < record->cols; ++col) {
            uint32_t* cel = bits + static_cast<size_t>(row) * celHeight * stride + static_cast<size_t>(col) * celWidth;
            for (int y = 0; y < celHeight; ++y) {
                uint32_t* line = cel + static_cast<size_t>(y) * stride;
                const uint32_t* mask = grid->bits + static_cast<size_t>(y) * celWidth;
                for (int x = 0; x < celWidth; ++x)
                    line[x] = WithAlphaOf(line[x], mask[x]);
            }
        }
    }
    image->MarkBitsChanged();
    return true;
}

} // namespace Tandry
