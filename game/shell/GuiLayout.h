// The pictures of one screen, panel or HUD read from "layers.ini" of a folder
// under "data/gui/": each with a place and a drawing layer, kept sorted by
// layer and drawn in that order. Screens look entries up by name to place
// their buttons and texts, and hide the entries a widget draws instead.
// Pictures come from the widget host's image-file loader.
#pragma once

#include "game/shell/GuiLayoutEntry.h"
#include "graphics/types/Point.h"
#include "graphics/types/Rect.h"

#include <memory>
#include <string>
#include <vector>

namespace Tandry {

class GuiLayout {
public:
    GuiLayout(const std::string& folder, bool loadImages);
    // The pictures are deleted unless this layout is a clone.
    ~GuiLayout();
    GuiLayout(const GuiLayout&) = delete;
    GuiLayout& operator=(const GuiLayout&) = delete;

    // Reads folder + "/layers.ini" (exactly so joined) and replaces the
    // entries; a missing file gives none.
    void Load(const std::string& folder, bool loadImages);
    // Tries the picture of every pending entry once, in entry order.
    void LoadImages();
    // For the loading thread: the entries whose picture is still pending, and
    // loading the first of them (false when there is none).
    int PendingImageCount() const;
    bool LoadFirstPendingImage();

    GuiLayoutEntry* FindEntry(const std::string& name);
    void SetEntryDrawFlag(const std::string& name, bool flag);
    // Every entry whose name contains the text; an empty text selects all.
    void ShowEntries(const std::string& text, bool flag);
    // (x, y, picture width, picture height); (0, 0, 0, 0) for a missing entry
    // and (x, y, 0, 0) for one without picture. take hides the entry.
    Rect GetEntryRect(const std::string& name, bool take);
    void Offset(int32_t dx, int32_t dy);

    void Draw(Graphics* g);
    // Ignores the draw flag.
    void DrawEntry(GuiLayoutEntry* entry, Graphics* g, const Point& offset);

    // Shares the pictures, which stay owned by this layout.
    GuiLayout* Clone() const;
    static void Delete(GuiLayout* layout);

    const std::string& GetFolder() const { return mFolder; }
    bool IsCopy() const { return mCopy; }
    const std::vector<std::unique_ptr<GuiLayoutEntry>>& Entries() const { return mEntries; }

private:
    GuiLayout() = default;
    void LoadImage(GuiLayoutEntry& entry);
    void FreeEntries();

    std::string mFolder;
    bool mCopy = false;
    std::vector<std::unique_ptr<GuiLayoutEntry>> mEntries;
};

} // namespace Tandry
