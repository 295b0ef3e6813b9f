// A widget that plays a movie through the platform's movie control: the
// control paints into an off-screen canvas of the widget's size, which the
// widget draws like any image, gets the mouse as window messages, and sends
// its commands to a FlashListener. The title screen's movie pages and the
// cut-scene board use it.
#pragma once

#include "graphics/types/Color.h"
#include "platform/flash/FlashControl.h"
#include "widgets/ControlSite.h"
#include "widgets/FlashSink.h"
#include "widgets/Widget.h"

#include <memory>
#include <string>

namespace Tandry {

class DDImage;
class FlashListener;
class MemoryImage;

class FlashWidget : public Widget {
public:
    explicit FlashWidget(FlashListener* theListener);
    ~FlashWidget() override;

    // The name is made absolute against the current folder. False when there
    // is no control, it refuses the movie, or it cannot play it; a paused
    // widget leaves Play to its Resume.
    bool StartMovie(const std::string& fileName);
    bool IsPlaying();
    void SetVariable(const std::string& name, const std::string& value);
    void Pause();
    void Resume();

    void Update() override;
    void Draw(Graphics* g) override;
    void SysColorChanged() override;
    using Widget::Resize;
    void Resize(int newX, int newY, int newWidth, int newHeight) override;
    void MouseLeave() override;
    void MouseMove(int mouseX, int mouseY) override;
    using Widget::MouseDown;
    void MouseDown(int mouseX, int mouseY, int button, int clickCount) override;
    using Widget::MouseUp;
    void MouseUp(int mouseX, int mouseY, int button, int clickCount) override;
    void MouseDrag(int mouseX, int mouseY) override;
    // Paints what lies under the movie: the colour, then the image.
    virtual void DrawBackground(Graphics* g);

    static Platform::FlashRect ToFlashRect(const Rect& rect);

    // 0 not playing, 1 playing, 2 ended.
    int state = 0;
    // Passed to the listener with every event.
    int id = 0;
    FlashListener* listener = nullptr;
    ControlSite site{*this};
    FlashSink sink{*this};
    // Null when the platform made no control.
    std::unique_ptr<Platform::FlashControl> flash;
    // Of the widget's size; owned.
    DDImage* canvas = nullptr;
    int pauseCount = 0;
    // The widget paused itself because the application lost the focus.
    bool pausedByFocus = false;
    bool pauseWhenInactive = true;
    // What the control asked to repaint, in the parent's coordinates.
    Rect dirtyRect;
    // The control's picture must be repainted into the canvas (apart from
    // the container's dirty flag, which asks the manager to draw the widget).
    bool canvasDirty = true;
    bool usesControlCursor = false;
    // Painted under the movie; not owned.
    MemoryImage* backgroundImage = nullptr;
    // Width or height 0: the whole image.
    Rect backgroundSrc;
    // Filled under the movie when its alpha is not 0.
    Color backgroundColor{0, 0, 0, 0};

private:
    void Forward(uint32_t message, uint32_t wParam, int mouseX, int mouseY);
    void TakeOverCursor();

    // A movie was started; a resume may play it again.
    bool mStarted = false;
};

} // namespace Tandry
