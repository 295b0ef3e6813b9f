// Builds the transition between two boards: its kind from the [ScreenEffect]
// section of the game's settings, its rectangle over both boards, both boards
// hidden, started. The caller adds it to the widget manager above the boards.
#pragma once

namespace Tandry {

class BaseBoard;
class BoardTransformer;
class BoardTransformerListener;

// to may be null: the switch shows the loading screen after the transition.
BoardTransformer* MakeBoardTransformer(BaseBoard* from, BaseBoard* to, BoardTransformerListener* listener);

} // namespace Tandry
