// How long a spoken or shown line stays on screen: a time per character plus a
// fixed addition, both from [Game] of the game ini. The speech bubble and the
// cut-scene subtitles time their texts with it.
#pragma once

#include <string>

namespace Tandry {

// Seconds: "TimePerChar" (default 0.1) times the text's length plus
// "TimePerStringAdd" (default 1.0). The two values are read at the first call
// and kept; the ini may hold any number, so the result may be negative.
float ReadingTime(const std::wstring& text);

// Tests only: the next call reads the game ini again.
void ResetReadingTime();

} // namespace Tandry
