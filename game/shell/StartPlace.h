// The profile's start place ([Main] "LastScene"): a kind word, ":", a name,
// and optionally "," and a request text that the target reads itself. Play
// on the main menu decodes it here and hands it to one of its targets. The
// text comes from a profile file, so any text decodes; a kind it does not
// know, or a known kind with an empty name, starts nothing.
#pragma once

#include "game/shell/StartTargets.h"

#include <string>

namespace Tandry {

// The kind words of the start place, shared with whoever writes it.
const std::string& SceneKindName();
const std::string& MovieKindName();

struct StartPlace {
    // Split at the first ",", then the part before it at the first ":".
    // Without ":" the whole part is the kind and the name is empty.
    static StartPlace Parse(const std::string& text);

    // A scene with the start flag runs its "StartAction" group when it has
    // one and stops there; otherwise the scene is played. "hog" and "movie"
    // go to their makers with the request text.
    void Start(bool newGame, const StartTargets& targets) const;

    std::string kind;
    std::string name;
    std::string extra;
};

} // namespace Tandry
