// The event sink a FlashWidget connects to its movie control: the movie's
// commands (FSCommand with two strings) go to the widget's listener as
// narrow strings; progress and ready-state events are answered and dropped;
// anything else is not a member. The widget owns it.
#pragma once

#include "platform/flash/FlashControl.h"

namespace Tandry {

class FlashWidget;

class FlashSink : public Platform::FlashEventSink {
public:
    explicit FlashSink(FlashWidget& widget) : mWidget(widget) {}

    Platform::HRESULT Invoke(int32_t dispatchId, const std::vector<Platform::FlashArg>& args) override;

private:
    FlashWidget& mWidget;
};

} // namespace Tandry
