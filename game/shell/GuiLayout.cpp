#include "game/shell/GuiLayout.h"

#include "graphics/context/Graphics.h"
#include "graphics/display/DDImage.h"
#include "resources/ini/IniFile.h"
#include "util/StringUtils.h"
#include "widgets/WidgetHost.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstddef>

namespace Tandry {

namespace {

// Positions come from data files and may sit at the ends of the int range;
// moving them must not overflow.
int32_t SaturatedAdd(int64_t a, int64_t b)
{
    return static_cast<int32_t>(std::clamp<int64_t>(a + b, INT32_MIN, INT32_MAX));
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

bool IsDigit(char c)
{
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// Up to max integers separated by blanks, stopping at the first piece that
// is not one; each is read with saturation.
std::vector<int> ScanBlankSeparatedInts(const std::string& text, size_t max)
{
    std::vector<int> values;
    size_t pos = 0;
    while (values.size() < max) {
        while (pos < text.size() && IsBlank(text[pos]))
            ++pos;
        size_t digits = pos;
        if (digits < text.size() && (text[digits] == '-' || text[digits] == '+'))
            ++digits;
        if (digits >= text.size() || !IsDigit(text[digits]))
            break;
        values.push_back(ParseLeadingInt(text.substr(pos)));
        pos = digits;
        while (pos < text.size() && IsDigit(text[pos]))
            ++pos;
    }
    return values;
}

} // namespace

GuiLayout::GuiLayout(const std::string& folder, bool loadImages)
{
    Load(folder, loadImages);
}

GuiLayout::~GuiLayout()
{
    FreeEntries();
}

void GuiLayout::FreeEntries()
{
    for (const std::unique_ptr<GuiLayoutEntry>& entry : mEntries) {
        if (!mCopy)
            delete entry->image;
        entry->image = nullptr;
    }
    mEntries.clear();
}

void GuiLayout::Load(const std::string& folder, bool loadImages)
{
    FreeEntries();
    mFolder = folder;
    IniFile file;
    file.Load(mFolder + "/layers.ini");
    std::vector<std::string> names;
    file.GetKeyNames("", names);
    for (const std::string& name : names) {
        auto entry = std::make_unique<GuiLayoutEntry>();
        entry->name = name;
        const std::vector<int> values = ScanBlankSeparatedInts(file.GetString(name, "", ""), 7);
        if (values.size() > 0)
            entry->x = values[0];
        if (values.size() > 1)
            entry->y = values[1];
        // Fewer than seven integers leave the entry on layer 0.
        if (values.size() > 6)
            entry->layer = values[6];
        entry->homeX = entry->x;
        entry->homeY = entry->y;
        mEntries.push_back(std::move(entry));
    }
    // Equal layers keep their file order.
    std::stable_sort(mEntries.begin(), mEntries.end(),
                     [](const std::unique_ptr<GuiLayoutEntry>& a, const std::unique_ptr<GuiLayoutEntry>& b) {
                         return a->layer < b->layer;
                     });
    if (loadImages)
        LoadImages();
}

void GuiLayout::LoadImage(GuiLayoutEntry& entry)
{
    // A failed read is not tried again.
    entry.imagePending = false;
    // A clone owns no picture, so one loaded for it could never be freed.
    WidgetHost* host = GetWidgetHost();
    if (mCopy || host == nullptr)
        return;
    DDImage* image = host->LoadImageFile(mFolder + entry.name, true);
    delete entry.image;
    entry.image = image;
}

void GuiLayout::LoadImages()
{
    for (const std::unique_ptr<GuiLayoutEntry>& entry : mEntries) {
        if (entry->imagePending)
            LoadImage(*entry);
    }
}

int GuiLayout::PendingImageCount() const
{
    return static_cast<int>(std::count_if(mEntries.begin(), mEntries.end(),
                                          [](const std::unique_ptr<GuiLayoutEntry>& entry) {
                                              return entry->imagePending;
                                          }));
}

bool GuiLayout::LoadFirstPendingImage()
{
    for (const std::unique_ptr<GuiLayoutEntry>& entry : mEntries) {
        if (entry->imagePending) {
            LoadImage(*entry);
            return true;
        }
    }
    return false;
}

GuiLayoutEntry* GuiLayout::FindEntry(const std::string& name)
{
    const std::string wanted = LowerCaseCopy(name);
    for (const std::unique_ptr<GuiLayoutEntry>& entry : mEntries) {
        if (entry->name == wanted)
            return entry.get();
    }
    return nullptr;
}

void GuiLayout::SetEntryDrawFlag(const std::string& name, bool flag)
{
    if (GuiLayoutEntry* entry = FindEntry(name))
        entry->drawFlag = flag;
}

void GuiLayout::ShowEntries(const std::string& text, bool flag)
{
    const std::string wanted = LowerCaseCopy(text);
    for (const std::unique_ptr<GuiLayoutEntry>& entry : mEntries) {
        if (entry->name.find(wanted) != std::string::npos)
            entry->drawFlag = flag;
    }
}

Rect GuiLayout::GetEntryRect(const std::string& name, bool take)
{
    GuiLayoutEntry* entry = FindEntry(name);
    if (entry == nullptr)
        return Rect();
    if (take)
        entry->drawFlag = false;
    if (entry->image == nullptr)
        return Rect(entry->x, entry->y, 0, 0);
    return Rect(entry->x, entry->y, entry->image->mWidth, entry->image->mHeight);
}

void GuiLayout::Offset(int32_t dx, int32_t dy)
{
    for (const std::unique_ptr<GuiLayoutEntry>& entry : mEntries) {
        entry->x = SaturatedAdd(entry->x, dx);
        entry->homeX = SaturatedAdd(entry->homeX, dx);
        entry->y = SaturatedAdd(entry->y, dy);
        entry->homeY = SaturatedAdd(entry->homeY, dy);
    }
}

void GuiLayout::Draw(Graphics* g)
{
    for (const std::unique_ptr<GuiLayoutEntry>& entry : mEntries) {
        if (entry->drawFlag && entry->image != nullptr)
            DrawEntry(entry.get(), g, Point());
    }
}

void GuiLayout::DrawEntry(GuiLayoutEntry* entry, Graphics* g, const Point& offset)
{
    if (entry == nullptr || entry->image == nullptr)
        return;
    if (entry->drawCallback) {
        entry->drawCallback(g, entry);
        return;
    }
    const int32_t x = SaturatedAdd(SaturatedAdd(entry->x, entry->dx), offset.x);
    const int32_t y = SaturatedAdd(SaturatedAdd(entry->y, entry->dy), offset.y);
    if (entry->mirrored)
        g->DrawImageMirror(entry->image, x, y);
    else
        g->DrawImage(entry->image, x, y);
}

GuiLayout* GuiLayout::Clone() const
{
    auto* copy = new GuiLayout();
    copy->mFolder = mFolder;
    copy->mCopy = true;
    for (const std::unique_ptr<GuiLayoutEntry>& entry : mEntries)
        copy->mEntries.push_back(std::make_unique<GuiLayoutEntry>(*entry));
    return copy;
}

void GuiLayout::Delete(GuiLayout* layout)
{
    delete layout;
}

} // namespace Tandry
