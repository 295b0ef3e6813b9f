// Turns input events into Windows message records, with the rules Windows
// follows: double clicks from click counts, wheel deltas in units of 120, keys
// held with Alt as system keys, lParam bits of key records, the characters
// TranslateMessage makes for a key-down (control characters, WM_SYSCHAR while
// Alt is held) and one WM_CHAR per UTF-16 unit of text. AltGr, and Ctrl with
// Alt, which Windows takes for AltGr, make ordinary keys whose character comes
// from the text. It keeps the state of the keys and mouse buttons it has seen,
// and reports the release of a key only after its press.
#pragma once

#include "platform/window/InputEvent.h"
#include "platform/window/WindowTypes.h"

#include <bitset>
#include <vector>

namespace Platform {

class InputTranslator {
public:
    // What the translator needs to know about the target window.
    struct Context {
        WindowHandle window = nullptr;
        int32_t clientWidth = 0;
        int32_t clientHeight = 0;
        WinPoint clientOrigin; // screen position of the client area's corner
        WinPoint cursor;       // cursor position in screen coordinates
        bool doubleClicks = true; // the window's class asks for double clicks
    };

    // A record to queue, or to dispatch at once (WM_SETCURSOR).
    struct Output {
        WindowMessage record;
        bool dispatchNow = false;
    };

    std::vector<Output> Translate(const InputEvent& event, const Context& context);

    bool AltHeld() const { return mAlt; }
    // Forgets held keys and buttons (focus went elsewhere; their releases go there too).
    void ClearHeldState();

private:
    void TranslateKey(const InputEvent& event, WindowHandle window, std::vector<Output>& out);
    void TranslateText(const InputEvent& event, WindowHandle window, std::vector<Output>& out);
    uintptr_t MouseKeyBits() const;

    bool mShift = false;
    bool mControl = false;
    bool mAlt = false;
    bool mAltGr = false;
    bool mAltGrChord = false; // the last key pressed types the layout's AltGr character
    std::bitset<256> mKeysDown;
    std::bitset<256> mKeysDownWithAltGr;
    bool mLeft = false;
    bool mRight = false;
    bool mMiddle = false;
};

} // namespace Platform
