#include "game/shell/MakeBoardTransformer.h"

#include "game/shell/BaseBoard.h"
#include "game/shell/BoardTransformerEmpty.h"
#include "game/shell/BoardTransformerFade.h"
#include "game/shell/BoardTransformerFadeIn.h"
#include "game/shell/BoardTransformerFromMovie.h"
#include "game/shell/BoardTransformerPager.h"
#include "game/shell/BoardTransformerSlide.h"
#include "game/shell/BoardTransformerToMovie.h"
#include "resources/ini/GameIni.h"
#include "util/StringUtils.h"

#include <optional>

namespace Tandry {

namespace {

constexpr const char* kSection = "ScreenEffect";

// Read on the first switch of the run; the main thread alone switches.
std::optional<BoardTransformerKind> gDefaultKind;

BoardTransformerKind ReadKind(const std::string& key, BoardTransformerKind fallback)
{
    return ParseBoardTransformerKind(LowerCaseCopy(gGameIni.GetString(key, kSection, "")), fallback);
}

BoardTransformer* NewTransformer(BoardTransformerKind kind)
{
    switch (kind) {
    case BoardTransformerKind::Fade:
        return new BoardTransformerFade();
    case BoardTransformerKind::Slide:
        return new BoardTransformerSlide();
    case BoardTransformerKind::Page:
        return new BoardTransformerPager();
    case BoardTransformerKind::FadeIn:
        return new BoardTransformerFadeIn();
    case BoardTransformerKind::ToMovie:
        return new BoardTransformerToMovie();
    case BoardTransformerKind::FromMovie:
        return new BoardTransformerFromMovie();
    case BoardTransformerKind::None:
        break;
    }
    return new BoardTransformerEmpty();
}

} // namespace

BoardTransformerKind ParseBoardTransformerKind(const std::string& value, BoardTransformerKind fallback)
{
    struct Name {
        const char* text;
        BoardTransformerKind kind;
    };
    static constexpr Name kNames[] = {
        {"none", BoardTransformerKind::None},         {"fade", BoardTransformerKind::Fade},
        {"slide", BoardTransformerKind::Slide},       {"page", BoardTransformerKind::Page},
        {"fade_in", BoardTransformerKind::FadeIn},    {"to_movie", BoardTransformerKind::ToMovie},
        {"from_movie", BoardTransformerKind::FromMovie},
    };
    for (const Name& name : kNames) {
        if (value == name.text)
            return name.kind;
    }
    return fallback;
}

void ResetBoardTransformerDefault()
{
    gDefaultKind.reset();
}

BoardTransformer* MakeBoardTransformer(BaseBoard* from, BaseBoard* to, BoardTransformerListener* listener)
{
    if (!gDefaultKind)
        gDefaultKind = ReadKind("default", BoardTransformerKind::None);
    const std::string key = from->GetName() + "To" + (to != nullptr ? to->GetName() : std::string());
    BoardTransformerKind kind = ReadKind(key, *gDefaultKind);
    // A fade-in shows the board it enters; with none it fades through black.
    if (kind == BoardTransformerKind::FadeIn && to == nullptr)
        kind = BoardTransformerKind::Fade;

    BoardTransformer* transformer = NewTransformer(kind);
    Rect rect = from->GetRect();
    if (to != nullptr)
        rect = Rect::Union(rect, to->GetRect());
    transformer->Resize(rect);
    transformer->fromBoard = from;
    transformer->toBoard = to;
    transformer->listener = listener;
    from->visible = false;
    if (to != nullptr)
        to->visible = false;
    transformer->Start();
    return transformer;
}

} // namespace Tandry
