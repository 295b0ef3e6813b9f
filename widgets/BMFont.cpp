#include "widgets/BMFont.h"

#include <vector>

#include "graphics/context/Graphics.h"
#include "graphics/display/DDImage.h"
#include "graphics/display/DDInterface.h"
#include "resources/pak/PakFile.h"
#include "widgets/WidgetHost.h"

namespace Tandry {

namespace {

// The whole file through the file layer, in blocks; false when it cannot be opened.
bool ReadDescription(const std::string& path, std::vector<uint8_t>& bytes)
{
    PakFileHandle* file = PakOpen(path, "rb");
    if (file == nullptr)
        return false;
    uint8_t block[4096];
    size_t got = 0;
    while ((got = PakRead(block, 1, sizeof(block), file)) > 0)
        bytes.insert(bytes.end(), block, block + got);
    PakClose(file);
    return true;
}

// Drive and folder of the path, with its last separator.
std::string FolderOf(const std::string& path)
{
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

} // namespace

BMFont::Shared::~Shared()
{
    for (DDImage* page : pages)
        delete page;
}

BMFont::BMFont(const std::string& path) : mShared(std::make_shared<Shared>())
{
    std::vector<uint8_t> bytes;
    if (ReadDescription(path, bytes))
        mLoaded = mShared->data.Parse(bytes.data(), bytes.size());

    // Pages declared before a failure still load.
    const std::string folder = FolderOf(path);
    WidgetHost* host = GetWidgetHost();
    for (const std::string& file : mShared->data.pageFiles) {
        DDImage* page = nullptr;
        if (!file.empty() && host != nullptr)
            page = host->LoadImageFile(folder + file, true);
        mShared->pages.push_back(page);
    }
    mAscent = mShared->data.base;
    mHeight = mShared->data.size;
    mLineSpacingOffset = 0;
}

BMFont::BMFont(const BMFont& other) : Font(other), mShared(other.mShared)
{
}

BMFont::~BMFont() = default;

Font* BMFont::Duplicate() const
{
    return new BMFont(*this);
}

void BMFont::MeasureText(FloatRect& out, const std::wstring& text, float x, float y, float scaleX, float scaleY,
                         float spacing, int hAlign, int vAlign) const
{
    mShared->data.Measure(out, text, x, y, scaleX, scaleY, spacing, hAlign, vAlign);
}

void BMFont::DrawString(Graphics* g, int x, int y, const std::wstring& text, const Color& color, const Rect& clip,
                        float scaleX, float scaleY, float spacing, int hAlign, int vAlign)
{
    if (g == nullptr || g->mDestImage == nullptr)
        return;
    const bool oldColorize = g->mColorizeImages;
    const Rect oldClip = g->mClipRect;
    g->mColorizeImages = true;
    g->mColor = color;
    // The blits clip to this alone, so it stays inside the destination.
    g->mClipRect = Rect::Intersection(clip, Rect(0, 0, g->mDestImage->mWidth, g->mDestImage->mHeight));

    float top = static_cast<float>(y);
    if (vAlign == kAlignBaseline) {
        top -= static_cast<float>(mAscent);
        vAlign = kAlignTop;
    }
    D3DInterface* d3d = nullptr;
    if (WidgetHost* host = GetWidgetHost()) {
        const DDInterface* display = host->GetDDInterface();
        if (display != nullptr && display->mIs3D)
            d3d = display->mD3DInterface;
    }
    mShared->data.Draw(text, static_cast<float>(x), top, scaleX, scaleY, spacing, hAlign, vAlign, g,
                       mShared->pages, d3d);

    g->mClipRect = oldClip;
    g->mColorizeImages = oldColorize;
}

} // namespace Tandry
