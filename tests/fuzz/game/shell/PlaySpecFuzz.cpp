// Any bytes as the profile's [Main] "LastScene", decoded for a new game and
// for a stored spec, with recording targets: only "scene", "hog" and "movie"
// with a non-empty name reach one, at most one board is asked for, and the
// pieces handed on put the text back together.
#include "game/shell/StartSpec.h"

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

    const Tandry::StartSpec spec = Tandry::StartSpec::Parse(text);
    spec.Start(newGame, targets);

    // The pieces are the text: kind, then ":" name when there is one, then "," extra.
    Check(spec.kind.find(',') == std::string::npos && spec.kind.find(':') == std::string::npos);
    Check(spec.name.find(',') == std::string::npos);
    const size_t comma = text.find(',');
    const std::string head = spec.kind + (text.substr(0, comma).find(':') != std::string::npos ? ":" + spec.name : "");
    Check(head + (comma != std::string::npos ? "," + spec.extra : "") == text);

    const bool known = spec.kind == "scene" || spec.kind == "hog" || spec.kind == "movie";
    const int calls = reached.startActions + reached.scenes + reached.boards;
    if (!known || spec.name.empty()) {
        Check(calls == 0);
        return;
    }
    Check(reached.name == spec.name);
    Check(reached.scenes + reached.boards <= 1);
    if (spec.kind == "scene") {
        Check(reached.boards == 0);
        Check(reached.startActions == (newGame ? 1 : 0));
        const bool ranStartAction = newGame && spec.name.size() % 2 == 0;
        Check(reached.scenes == (ranStartAction ? 0 : 1));
    } else {
        Check(reached.startActions == 0 && reached.scenes == 0 && reached.boards == 1);
        Check(reached.kind == spec.kind && reached.extra == spec.extra);
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
