// What a scroll bar tells its owner: every change of its position, whether
// the user or a clamp made it. The scene editor's property panels implement
// it; the default does nothing.
#pragma once

namespace Tandry {

class ScrollListener {
public:
    virtual ~ScrollListener() = default;

    virtual void ScrollPosition(int id, double position);
};

} // namespace Tandry
