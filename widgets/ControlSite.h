// The site a FlashWidget gives its movie control: it answers the control's
// requests to repaint (which grow the widget's dirty rectangle) and for its
// window context (the widget rectangle). The widget owns it.
#pragma once

#include "platform/flash/FlashControl.h"

namespace Tandry {

class FlashWidget;

class ControlSite : public Platform::FlashSite {
public:
    explicit ControlSite(FlashWidget& widget) : mWidget(widget) {}

    void InvalidateRect(const Platform::FlashRect* rect) override;
    void InvalidateRgn() override;
    Platform::FlashRect GetWindowContext() override;

private:
    FlashWidget& mWidget;
};

} // namespace Tandry
