// The display the program uses until the DirectDraw display exists: it brings
// up nothing, presents nothing and always succeeds, so the window stays black
// while the loop runs. It reports the logical screen as its size, shown whole
// in the client area, at 60 Hz, with no capability tester, no DirectDraw
// object and no screen image.
#pragma once

#include "graphics/display/DDInterface.h"

namespace Tandry {

class TandryAppBase;

class NullDisplay : public DDInterface {
public:
    static constexpr unsigned int kRefreshRate = 60;
    static constexpr int kMillisPerRefresh = 16;

    explicit NullDisplay(TandryAppBase* app);

    int Init(Platform::WindowHandle window, bool windowed) override;
    bool Redraw(Rect* dirty) override;

private:
    TandryAppBase* mApp;
};

} // namespace Tandry
