// A change to a widget flag word: the bits to set and the bits to clear. The
// manager's modal layers use one to switch mouse and keyboard input off for
// everything below a modal widget.
#pragma once

namespace Tandry {

struct FlagChange {
    int setFlags = 0;
    int clearFlags = 0;

    int Apply(int flags) const { return (flags | setFlags) & ~clearFlags; }
    bool operator==(const FlagChange&) const = default;
};

} // namespace Tandry
