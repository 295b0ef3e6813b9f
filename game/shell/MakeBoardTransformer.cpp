#include "game/shell/MakeBoardTransformer.h"

#include "game/shell/BaseBoard.h"
#include "game/shell/BoardTransformerEmpty.h"

namespace Tandry {

BoardTransformer* MakeBoardTransformer(BaseBoard* from, BaseBoard* to, BoardTransformerListener* listener)
{
    // TODO: the kind comes from [ScreenEffect] ("default" read once per run, then
    // the "<from>To<to>" key); until the kinds exist every switch is immediate.
    BoardTransformer* transformer = new BoardTransformerEmpty();
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
