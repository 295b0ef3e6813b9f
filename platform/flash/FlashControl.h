// The movie control that a FlashWidget hosts, seen from the widget: a movie
// by wide absolute path, play and stop, variables, the object rectangle,
// forwarded mouse messages, painting into plain 32-bit pixels, the cursor it
// wants and close. A control calls back only from inside a call the widget
// makes on it, through the site and the event sink the widget hands it.
#pragma once

#include "platform/cursor/CursorService.h"
#include "platform/dx/HResult.h"
#include "platform/window/WindowMessages.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Platform {

inline constexpr HRESULT FLASH_S_OK = 0;
inline constexpr HRESULT DISP_E_MEMBERNOTFOUND = static_cast<HRESULT>(0x80020003u);

// The control's event numbers.
inline constexpr int32_t kFlashDispatchFSCommand = 150;
inline constexpr int32_t kFlashDispatchOnProgress = 1958;
inline constexpr int32_t kFlashDispatchReadyStateChange = -609;

// Edges as Windows keeps them: right and bottom lie outside.
struct FlashRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    bool operator==(const FlashRect&) const = default;
};

// One argument of an event: a string, an integer or nothing.
struct FlashArg {
    enum class Kind { Empty, Integer, String };
    Kind kind = Kind::Empty;
    int32_t number = 0;
    std::wstring text;

    static FlashArg String(std::wstring value) { return {Kind::String, 0, std::move(value)}; }
    static FlashArg Integer(int32_t value) { return {Kind::Integer, value, {}}; }
};

// What the control may ask of the widget that hosts it.
class FlashSite {
public:
    // Null: everything must be repainted. Rectangles are in the container's
    // coordinates, as the object rectangle is.
    virtual void InvalidateRect(const FlashRect* rect) = 0;
    virtual void InvalidateRgn() = 0;
    // The position and clip rectangle of the control.
    virtual FlashRect GetWindowContext() = 0;

protected:
    ~FlashSite() = default;
};

// Receives the control's events.
class FlashEventSink {
public:
    virtual HRESULT Invoke(int32_t dispatchId, const std::vector<FlashArg>& args) = 0;

protected:
    ~FlashEventSink() = default;
};

class FlashControl {
public:
    virtual ~FlashControl() = default;

    virtual void SetClientSite(FlashSite* site) = 0;
    // The sink gets every event from now on; one sink at a time.
    virtual void Advise(FlashEventSink* sink) = 0;
    virtual void Unadvise() = 0;

    // False: the movie is refused, and the control then plays nothing.
    virtual bool PutMovie(const std::wstring& path) = 0;
    virtual bool Play() = 0;
    virtual void StopPlay() = 0;
    virtual bool IsPlaying() = 0;
    virtual void SetVariable(const std::wstring& name, const std::wstring& value) = 0;

    virtual void SetObjectRects(const FlashRect& position, const FlashRect& clip) = 0;
    // The mouse messages of WindowMessages.h; lParam holds x and y as its
    // low and high 16 bits.
    virtual void OnWindowMessage(uint32_t message, uint32_t wParam, uint32_t lParam) = 0;
    // Paints within clip; bounds are (0, 0, width, height). pitch in pixels.
    virtual void Draw(uint32_t* pixels, int width, int height, int pitch, const FlashRect& clip) = 0;
    // Null: the control shows no cursor of its own.
    virtual CursorHandle GetCursor() = 0;
    // After this nothing more is sent.
    virtual void Close() = 0;
};

} // namespace Platform
