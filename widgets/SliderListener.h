// What a slider tells its owner: its value (0 to 1) after a drag step or a
// release. The options screen implements it; the default does nothing.
#pragma once

namespace Tandry {

class SliderListener {
public:
    virtual ~SliderListener() = default;

    virtual void SliderValueChanged(int id, double value);
};

} // namespace Tandry
