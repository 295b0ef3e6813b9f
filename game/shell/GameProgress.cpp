#include "game/shell/GameProgress.h"

#include "game/shell/GameControllerCommon.h"
#include "game/shell/GuiLayoutEntry.h"
#include "graphics/context/Graphics.h"
#include "graphics/display/DDImage.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace Tandry {

namespace {

std::optional<Rect> PictureRect(const GuiLayoutEntry* entry)
{
    if (entry == nullptr || entry->image == nullptr)
        return std::nullopt;
    return Rect(entry->x, entry->y, entry->image->mWidth, entry->image->mHeight);
}

DDImage* PictureOf(const GuiLayoutEntry* entry)
{
    return entry != nullptr ? entry->image : nullptr;
}

} // namespace

GameProgress::GameProgress(GuiLayoutEntry* back, GuiLayoutEntry* fill) : mBack(back), mFill(fill)
{
    const std::optional<Rect> backRect = PictureRect(back);
    const std::optional<Rect> fillRect = PictureRect(fill);
    if (backRect && fillRect)
        Resize(Rect::Union(*backRect, *fillRect));
    else if (backRect || fillRect)
        Resize(backRect ? *backRect : *fillRect);
}

int GameProgress::FillColumns(int width, float progress)
{
    // The value comes from a profile file: keep NaN, infinities and huge
    // values away from the integer conversion.
    if (width <= 0 || !std::isfinite(progress) || progress < 0.0f)
        return 0;
    // At or past the width it is the whole bar, which also keeps the
    // conversion in range for the widest pictures.
    const float columns = static_cast<float>(width) * std::min(progress, 1.0f);
    if (columns >= static_cast<float>(width))
        return width;
    return static_cast<int>(columns);
}

void GameProgress::Draw(Graphics* g)
{
    g->DrawImage(PictureOf(mBack), 0, 0);
    DDImage* fill = PictureOf(mFill);
    if (fill == nullptr)
        return;
    const int columns = FillColumns(fill->mWidth, GetGameControllerCommon().GetPlayerInfo().progress);
    if (columns < 1)
        return;
    g->DrawImagePart(fill, 0, 0, Rect(fill->mWidth - columns, 0, columns, fill->mHeight));
}

} // namespace Tandry
