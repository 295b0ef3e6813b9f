// The control that plays nothing: every movie is refused, Play fails, it never
// plays, paints nothing, has no cursor and never calls back. Tests install it;
// the movie-file control behaves like it after refusing a movie.
#pragma once

#include "platform/flash/FlashControl.h"

namespace Platform {

class NullFlashControl : public FlashControl {
public:
    void SetClientSite(FlashSite*) override {}
    void Advise(FlashEventSink*) override {}
    void Unadvise() override {}
    bool PutMovie(const std::wstring&) override { return false; }
    bool Play() override { return false; }
    void StopPlay() override {}
    bool IsPlaying() override { return false; }
    void SetVariable(const std::wstring&, const std::wstring&) override {}
    void SetObjectRects(const FlashRect&, const FlashRect&) override {}
    void OnWindowMessage(uint32_t, uint32_t, uint32_t) override {}
    void Draw(uint32_t*, int, int, int, const FlashRect&) override {}
    CursorHandle GetCursor() override { return nullptr; }
    void Close() override {}
};

} // namespace Platform
