// A movie control for tests. Scripts are registered by movie file name in a
// book that the test keeps; each is a timeline of steps (events, invalidated
// areas, the colour it paints, its cursor) due at a movie time and, when a
// variable is named, once SetVariable gave it that value. Movie time is the
// platform clock's, as in MovieFileControl. Every call is recorded in the book.
#pragma once

#include "platform/flash/FlashControl.h"
#include "platform/flash/MovieClock.h"

#include <memory>
#include <string>
#include <vector>

namespace Platform {

struct FlashScriptStep {
    enum class Kind { Event, Invalidate, InvalidateAll, Colour, Cursor };

    Kind kind = Kind::Event;
    double at = 0; // movie milliseconds
    // When not empty, the step also waits for this variable to have value.
    std::wstring variable;
    std::wstring value;
    int32_t dispatchId = kFlashDispatchFSCommand;
    std::vector<FlashArg> args;
    FlashRect rect;       // Invalidate, in movie coordinates
    uint32_t colour = 0;  // Colour: ARGB
    CursorHandle cursor = nullptr;

    static FlashScriptStep Command(double at, const std::wstring& command, const std::wstring& argument);
    static FlashScriptStep RawEvent(double at, int32_t dispatchId, std::vector<FlashArg> args);
    static FlashScriptStep Invalidate(double at, const FlashRect& rect);
    static FlashScriptStep InvalidateAll(double at);
    static FlashScriptStep Paint(double at, uint32_t colour);
    static FlashScriptStep SetCursor(double at, CursorHandle cursor);
    // The same step, also waiting for the variable.
    FlashScriptStep When(const std::wstring& name, const std::wstring& wanted) const;
};

struct FlashScript {
    std::vector<FlashScriptStep> steps;
    double endTime = 0;
    // Movie time runs this many times as fast while "_root.speed" is "fast".
    double fastFactor = 4;
    bool refusePlay = false;
    uint32_t colour = 0xFF000000u;
};

class FlashScriptBook {
public:
    // name is the file name the movie path ends with.
    void Register(const std::wstring& name, FlashScript script);
    const FlashScript* Find(const std::wstring& path) const;

    // Every call on every control made from this book, in order.
    std::vector<std::string> calls;
    // Calls since the last Take.
    std::vector<std::string> Take();

private:
    std::vector<std::pair<std::wstring, FlashScript>> mScripts;
    size_t mTaken = 0;
};

class ScriptedFlashControl : public FlashControl {
public:
    explicit ScriptedFlashControl(std::shared_ptr<FlashScriptBook> book);

    void SetClientSite(FlashSite* site) override;
    void Advise(FlashEventSink* sink) override;
    void Unadvise() override;
    bool PutMovie(const std::wstring& path) override;
    bool Play() override;
    void StopPlay() override;
    bool IsPlaying() override;
    void SetVariable(const std::wstring& name, const std::wstring& value) override;
    void SetObjectRects(const FlashRect& position, const FlashRect& clip) override;
    void OnWindowMessage(uint32_t message, uint32_t wParam, uint32_t lParam) override;
    // Fills the clip with the current colour, opaque.
    void Draw(uint32_t* pixels, int width, int height, int pitch, const FlashRect& clip) override;
    CursorHandle GetCursor() override;
    void Close() override;

private:
    void Record(std::string call);
    void FireDueSteps();
    void Fire(const FlashScriptStep& step);

    std::shared_ptr<FlashScriptBook> mBook;
    FlashSite* mSite = nullptr;
    FlashEventSink* mSink = nullptr;
    const FlashScript* mScript = nullptr;
    std::vector<bool> mFired;
    std::vector<std::pair<std::wstring, std::wstring>> mVariables;
    FlashRect mPosition;
    uint32_t mColour = 0;
    CursorHandle mCursor = nullptr;
    bool mStarted = false;
    bool mClosed = false;
    bool mBusy = false;
    MovieClock mClock;
};

} // namespace Platform
