// Any bytes as the profile's [Main] "LastScene", decoded for a new game and
// for a stored place, with recording targets: only "scene", "hog" and "movie"
// with a non-empty name reach one, at most one board is asked for, and the
// pieces handed on put the text back together.
#include "game/shell/StartPlace.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

struct Reached {
    int startActions = 0;
    int scenes = 0;
    int boards = 0;
    std::string kind;
    std::string name;
    std::string extra;
};

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

void Run(const std::string& text, bool newGame)
{
    Reached reached;
    Tandry::StartTargets targets;
    targets.runStartAction = [&](const std::string& name) {
        ++reached.startActions;
        reached.name = name;
        // Half the scenes have the group.
        return name.size() % 2 == 0;
    };
    targets.playScene = [&](const std::string& name) {
        ++reached.scenes;
        reached.kind = "scene";
        reached.name = name;
    };
    targets.hiddenObject = [&](const std::string& name, const std::string& request) {
        ++reached.boards;
        reached.kind = "hog";
        reached.name = name;
        reached.extra = request;
    };
    targets.movie = [&](const std::string& name, const std::string& request) {
        ++reached.boards;
        reached.kind = "movie";
        reached.name = name;
        reached.extra = request;
    };

    const Tandry::StartPlace place = Tandry::StartPlace::Parse(text);
    place.Start(newGame, targets);

    // The pieces are the text: kind, then ":" name when there is one, then "," extra.
    Check(place.kind.find(',') == std::string::npos && place.kind.find(':') == std::string::npos);
    Check(place.name.find(',') == std::string::npos);
    const size_t comma = text.find(',');
    const std::string head = place.kind + (text.substr(0, comma).find(':') != std::string::npos ? ":" + place.name : "");
    Check(head + (comma != std::string::npos ? "," + place.extra : "") == text);

    const bool known = place.kind == "scene" || place.kind == "hog" || place.kind == "movie";
    const int calls = reached.startActions + reached.scenes + reached.boards;
    if (!known || place.name.empty()) {
        Check(calls == 0);
        return;
    }
    Check(reached.name == place.name);
    Check(reached.scenes + reached.boards <= 1);
    if (place.kind == "scene") {
        Check(reached.boards == 0);
        Check(reached.startActions == (newGame ? 1 : 0));
        const bool ranStartAction = newGame && place.name.size() % 2 == 0;
        Check(reached.scenes == (ranStartAction ? 0 : 1));
    } else {
        Check(reached.startActions == 0 && reached.scenes == 0 && reached.boards == 1);
        Check(reached.kind == place.kind && reached.extra == place.extra);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    Run(text, true);
    Run(text, false);
    return 0;
}
