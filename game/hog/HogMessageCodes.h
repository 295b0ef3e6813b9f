// The codes of the hidden-object message bus, named once for every piece
// that sends or subscribes to them: the board, the level and its pictures,
// the paint elements, the items-to-find panel and the miss statistics.
#pragma once

namespace Tandry {

enum HogMessageCode : int {
    kHogTick = 0,             // time: the board's elapsed seconds
    kHogRecordFaded = 35,     // a panel record has struck through and dimmed
    kHogHintRequested = 37,
    kHogHintShowing = 38,
    kHogShowHintOn = 39,      // element
    kHogPictureStarted = 41,  // value 0
    kHogScoreChanged = 42,    // value: the new score
    kHogItemFound = 43,       // element
    kHogClockStop = 45,
    kHogClockStart = 46,
    kHogLevelComplete = 47,   // level
    kHogPictureComplete = 48, // picture
    kHogPictureStart = 49,    // picture
    kHogMiss = 52,
    kHogTooManyMisses = 53,   // value 20
    kHogLevelPrepared = 57,   // level
    kHogFirstTooManyMisses = 64,
    kHogHintUsed = 76,        // value 0
};

} // namespace Tandry
