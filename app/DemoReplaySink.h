// Where the demo player delivers what it replays. The real demo seam hands
// each call to the application and its widget manager; the tests, the fuzz
// target and the benchmark record or drop them.
#pragma once

#include <string>

namespace Tandry {

class DemoReplaySink {
public:
    virtual ~DemoReplaySink() = default;

    virtual void MouseMove(int x, int y) = 0;
    virtual void MouseDown(int x, int y, int clickCode) = 0;
    virtual void MouseUp(int x, int y, int clickCode) = 0;
    virtual void Activate(bool active) = 0;
    virtual void Minimise(bool minimised) = 0;
    virtual void KeyDown(int key) = 0;
    virtual void KeyUp(int key) = 0;
    virtual void KeyChar(wchar_t ch) = 0;
    virtual void Close() = 0;
    virtual void MouseEnter() = 0;
    virtual void MouseLeave() = 0;
    virtual void LoadingDone() = 0;
    virtual void Wheel(int notches) = 0;
    virtual void DisplayState(bool windowed, int refreshRate) = 0;
    // The stream no longer fits the run; text says at which update and why.
    // Nothing more is replayed.
    virtual void PlaybackEnded(const std::string& text) = 0;
    // The replay of an update stops once the application shuts down.
    virtual bool ShuttingDown() = 0;
};

} // namespace Tandry
