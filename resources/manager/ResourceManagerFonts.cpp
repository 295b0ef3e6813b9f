// Loading a font record: a system font, a copy of another font record's
// font, or a bitmap font read from its description.
#include "resources/manager/ResourceManager.h"

#include "graphics/context/Font.h"
#include "resources/manager/ResourceHost.h"
#include "util/SectionProfilerScope.h"
#include "widgets/BMFont.h"
#include "widgets/SysFont.h"

#include <memory>

namespace Tandry {

namespace {

constexpr const char kRefPrefix[] = "!ref:";
constexpr size_t kRefPrefixLength = sizeof(kRefPrefix) - 1;

} // namespace

bool ResourceManager::DoLoadFont(FontRes* record)
{
    SectionProfilerScope section("ResourceManager:DoLoadFont");

    std::unique_ptr<Font> font;
    if (record->sysFont) {
        // That family draws no bold system fonts.
        const bool bold = record->bold && !(mApp != nullptr && mApp->IsResourceSystemWindows9x());
        font = std::make_unique<SysFont>(record->path, record->size, bold, record->italic, record->underline);
    } else if (record->path.compare(0, kRefPrefixLength, kRefPrefix) == 0) {
        const std::string refId = record->path.substr(kRefPrefixLength);
        const Font* source = GetFont(refId);
        if (source == nullptr)
            return Fail("Ref font not found: " + refId);
        font.reset(source->Duplicate());
    } else if (!record->imagePath.empty()) {
        // A font drawn from a single picture is of a kind this system has no class for.
        return Fail("Failed to load font: " + record->path);
    } else {
        font = std::make_unique<BMFont>(record->path);
    }

    if (font == nullptr || !font->IsLoaded())
        return Fail("Failed to load font: " + record->path);
    record->font = font.release();
    ResourceLoadedHook(record);
    return true;
}

} // namespace Tandry
