// Four margins that shrink a rectangle from its edges. Widgets use them to
// narrow the area in which they take mouse hits.
#pragma once

namespace Tandry {

struct Insets {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool operator==(const Insets&) const = default;
};

} // namespace Tandry
