#include "game/shell/StartPlace.h"

#include "game/hog/HogKindName.h"

namespace Tandry {

const std::string& SceneKindName()
{
    static const std::string kName = "scene";
    return kName;
}

const std::string& MovieKindName()
{
    static const std::string kName = "movie";
    return kName;
}

StartPlace StartPlace::Parse(const std::string& text)
{
    StartPlace place;
    std::string head = text;
    const size_t comma = head.find(',');
    if (comma != std::string::npos) {
        place.extra = head.substr(comma + 1);
        head.resize(comma);
    }
    const size_t colon = head.find(':');
    if (colon == std::string::npos) {
        place.kind = head;
        return place;
    }
    place.kind = head.substr(0, colon);
    place.name = head.substr(colon + 1);
    return place;
}

void StartPlace::Start(bool newGame, const StartTargets& targets) const
{
    // No level, board or movie of an empty name is ever made.
    if (name.empty())
        return;
    if (kind == SceneKindName()) {
        if (newGame && targets.runStartAction && targets.runStartAction(name))
            return;
        if (targets.playScene)
            targets.playScene(name);
    } else if (kind == HogKindName()) {
        if (targets.hiddenObject)
            targets.hiddenObject(name, extra);
    } else if (kind == MovieKindName()) {
        if (targets.movie)
            targets.movie(name, extra);
    }
}

} // namespace Tandry
