// The game's movie control: it plays the project's movie files (MovieFile)
// as timed FSCommand events with no picture. Due lines are done in file
// order from inside the calls the widget makes, never from a thread of its
// own. A missing, oversized or malformed file is refused, and the control
// then behaves as NullFlashControl.
#pragma once

#include "platform/flash/FlashControl.h"
#include "platform/flash/MovieClock.h"
#include "platform/flash/MovieFile.h"

#include <map>
#include <optional>

namespace Platform {

class MovieFileControl : public FlashControl {
public:
    void SetClientSite(FlashSite*) override {}
    void Advise(FlashEventSink* sink) override;
    void Unadvise() override;
    // The wide path goes back to the ANSI code page and through the path
    // resolver, so any separator and letter case find the loose file.
    bool PutMovie(const std::wstring& path) override;
    bool Play() override;
    void StopPlay() override;
    // True from an accepted movie until its last line is done.
    bool IsPlaying() override;
    // "_root.speed" "fast" runs movie time 4 times as fast, "normal" at 1.
    void SetVariable(const std::wstring& name, const std::wstring& value) override;
    void SetObjectRects(const FlashRect&, const FlashRect&) override;
    void OnWindowMessage(uint32_t, uint32_t, uint32_t) override;
    // Paints nothing: the canvas keeps what lies under the movie.
    void Draw(uint32_t*, int, int, int, const FlashRect&) override;
    CursorHandle GetCursor() override { return nullptr; }
    void Close() override;

private:
    struct Line {
        uint32_t delay = 0;
        bool wait = false;
        // Widened byte by byte: the command and argument, or for a wait the
        // variable and the value.
        std::wstring first;
        std::wstring second;
    };
    struct Variable {
        std::wstring value;
        double setAt = 0; // movie time of the setting
    };

    // Does every line that is due now, in order.
    void DoDueLines();
    void Unload();

    FlashEventSink* mSink = nullptr;
    bool mClosed = false;
    bool mLoaded = false;
    bool mStarted = false;
    bool mBusy = false; // inside DoDueLines: an event's handler called back
    std::vector<Line> mLines;
    size_t mNext = 0;
    double mDoneAt = 0; // movie time when the previous line was done
    std::map<std::wstring, Variable> mVariables;
    MovieClock mClock;
};

} // namespace Platform
