// What a check box tells its owner: the new state after a toggle. The option
// screens and the scene editor's property widgets implement it; the default
// does nothing.
#pragma once

namespace Tandry {

class CheckboxListener {
public:
    virtual ~CheckboxListener() = default;

    virtual void CheckboxChecked(int id, bool checked);
};

} // namespace Tandry
