// Builds the transition between two boards: its kind from the [ScreenEffect]
// section of the game's settings, its rectangle over both boards, both boards
// hidden, started. The caller adds it to the widget manager above the boards.
#pragma once

#include <string>

namespace Tandry {

class BaseBoard;
class BoardTransformer;
class BoardTransformerListener;

enum class BoardTransformerKind { None, Fade, Slide, Page, FadeIn, ToMovie, FromMovie };

// to may be null: the switch shows the loading screen after the transition.
BoardTransformer* MakeBoardTransformer(BaseBoard* from, BaseBoard* to, BoardTransformerListener* listener);

// The kind a lower-case [ScreenEffect] value names; fallback for any other.
BoardTransformerKind ParseBoardTransformerKind(const std::string& value, BoardTransformerKind fallback);

// Tests only: the next MakeBoardTransformer reads "default" again.
void ResetBoardTransformerDefault();

} // namespace Tandry
