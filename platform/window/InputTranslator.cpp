#include "platform/window/InputTranslator.h"

#include "platform/codepage/CodePages.h"
#include "platform/window/VirtualKeys.h"
#include "platform/window/WindowMessages.h"

#include <algorithm>
#include <cmath>

namespace Platform {
namespace {

constexpr uint32_t kAltHeldBit = 1u << 29;
constexpr uint32_t kPreviousDownBit = 1u << 30;
constexpr uint32_t kReleaseBit = 1u << 31;

InputTranslator::Output Record(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam,
                               bool dispatchNow = false)
{
    InputTranslator::Output out;
    out.record.hwnd = window;
    out.record.message = message;
    out.record.wParam = wParam;
    out.record.lParam = lParam;
    out.dispatchNow = dispatchNow;
    return out;
}

bool IsLetter(uint32_t vk) { return vk >= 'A' && vk <= 'Z'; }
bool IsDigit(uint32_t vk) { return vk >= '0' && vk <= '9'; }

// The unshifted US-layout character of a key that types one, 0 for the others.
uint32_t UnshiftedCharacter(uint32_t vk)
{
    if (IsLetter(vk))
        return vk + ('a' - 'A');
    if (IsDigit(vk) || vk == VK_SPACE)
        return vk;
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9)
        return '0' + (vk - VK_NUMPAD0);
    switch (vk) {
    case VK_MULTIPLY: return '*';
    case VK_ADD: return '+';
    case VK_SUBTRACT: return '-';
    case VK_DECIMAL: return '.';
    case VK_DIVIDE: return '/';
    case VK_OEM_1: return ';';
    case VK_OEM_PLUS: return '=';
    case VK_OEM_COMMA: return ',';
    case VK_OEM_MINUS: return '-';
    case VK_OEM_PERIOD: return '.';
    case VK_OEM_2: return '/';
    case VK_OEM_3: return '`';
    case VK_OEM_4: return '[';
    case VK_OEM_5: return '\\';
    case VK_OEM_6: return ']';
    case VK_OEM_7: return '\'';
    default: return 0;
    }
}

} // namespace

void InputTranslator::ClearHeldState()
{
    mShift = mControl = mAlt = mAltGr = mAltGrChord = false;
    mKeysDown.reset();
    mKeysDownWithAltGr.reset();
    mLeft = mRight = mMiddle = false;
}

uintptr_t InputTranslator::MouseKeyBits() const
{
    uintptr_t bits = 0;
    if (mLeft)
        bits |= MK_LBUTTON;
    if (mRight)
        bits |= MK_RBUTTON;
    if (mShift)
        bits |= MK_SHIFT;
    if (mControl)
        bits |= MK_CONTROL;
    if (mMiddle)
        bits |= MK_MBUTTON;
    return bits;
}

std::vector<InputTranslator::Output> InputTranslator::Translate(const InputEvent& event, const Context& context)
{
    std::vector<Output> out;
    WindowHandle window = context.window;
    switch (event.kind) {
    case InputEventKind::MouseMotion: {
        bool inside = event.x >= 0 && event.y >= 0 && event.x < context.clientWidth && event.y < context.clientHeight;
        if (inside) {
            out.push_back(Record(window, WM_SETCURSOR, reinterpret_cast<uintptr_t>(window),
                                 MakeLParam(HTCLIENT, WM_MOUSEMOVE), true));
        }
        out.push_back(Record(window, WM_MOUSEMOVE, MouseKeyBits(), MakeLParam(event.x, event.y)));
        break;
    }
    case InputEventKind::MouseButtonDown:
    case InputEventKind::MouseButtonUp: {
        bool down = event.kind == InputEventKind::MouseButtonDown;
        // Windows reports the second click of a pair as a double click and the third as a new single one.
        bool doubleClick = context.doubleClicks && down && event.clicks > 0 && event.clicks % 2 == 0;
        uint32_t message = 0;
        switch (event.button) {
        case MouseButton::Left:
            mLeft = down;
            message = !down ? WM_LBUTTONUP : doubleClick ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN;
            break;
        case MouseButton::Right:
            mRight = down;
            message = !down ? WM_RBUTTONUP : doubleClick ? WM_RBUTTONDBLCLK : WM_RBUTTONDOWN;
            break;
        case MouseButton::Middle:
            mMiddle = down;
            message = !down ? WM_MBUTTONUP : doubleClick ? WM_MBUTTONDBLCLK : WM_MBUTTONDOWN;
            break;
        case MouseButton::Other:
            return out;
        }
        out.push_back(Record(window, message, MouseKeyBits(), MakeLParam(event.x, event.y)));
        break;
    }
    case InputEventKind::MouseWheel: {
        // Clamped before rounding: a driver's infinity or not-a-number has no long to round to.
        double units = static_cast<double>(event.wheelY) * 120.0;
        long delta = std::isnan(units) ? 0 : std::lround(std::clamp(units, -32768.0, 32767.0));
        if (event.flipped)
            delta = -delta;
        delta = std::clamp(delta, -32768L, 32767L);
        uintptr_t wParam = (static_cast<uintptr_t>(static_cast<uint16_t>(delta)) << 16) | MouseKeyBits();
        out.push_back(Record(window, WM_MOUSEWHEEL, wParam, MakeLParam(context.cursor.x, context.cursor.y)));
        break;
    }
    case InputEventKind::KeyDown:
    case InputEventKind::KeyUp:
        TranslateKey(event, window, out);
        break;
    case InputEventKind::Text:
        TranslateText(event, window, out);
        break;
    case InputEventKind::FocusGained:
        out.push_back(Record(window, WM_ACTIVATEAPP, 1, 0));
        break;
    case InputEventKind::FocusLost:
        ClearHeldState();
        out.push_back(Record(window, WM_ACTIVATEAPP, 0, 0));
        break;
    case InputEventKind::Minimized:
        out.push_back(Record(window, WM_SIZE, SIZE_MINIMIZED, 0));
        break;
    case InputEventKind::Maximized:
        out.push_back(Record(window, WM_SIZE, SIZE_MAXIMIZED, MakeLParam(context.clientWidth, context.clientHeight)));
        break;
    case InputEventKind::Restored:
        out.push_back(Record(window, WM_SIZE, SIZE_RESTORED, MakeLParam(context.clientWidth, context.clientHeight)));
        break;
    case InputEventKind::Moved:
        out.push_back(Record(window, WM_MOVE, 0, MakeLParam(context.clientOrigin.x, context.clientOrigin.y)));
        break;
    case InputEventKind::DisplayChanged:
        out.push_back(Record(window, WM_DISPLAYCHANGE, 32, MakeLParam(event.x, event.y)));
        break;
    case InputEventKind::CloseRequested:
    case InputEventKind::Quit:
        out.push_back(Record(window, WM_CLOSE, 0, 0));
        break;
    case InputEventKind::Exposed:
        break; // paint records are made at pump time
    }
    return out;
}

void InputTranslator::TranslateKey(const InputEvent& event, WindowHandle window, std::vector<Output>& out)
{
    uint32_t vk = event.virtualKey;
    if (vk == 0 || vk > 0xFF)
        return;
    bool down = event.kind == InputEventKind::KeyDown;
    bool altBefore = mAlt;
    bool altGrBefore = mAltGr;
    bool controlBefore = mControl;
    if (vk == VK_SHIFT)
        mShift = down;
    else if (vk == VK_CONTROL)
        mControl = down;
    else if (vk == VK_MENU && event.altGr)
        mAltGr = down;
    else if (vk == VK_MENU)
        mAlt = down;

    // A key pressed before the window had focus is released there, not here.
    if (!down && !mKeysDown[vk])
        return;
    bool altHeld = down ? mAlt : altBefore;
    bool control = down ? mControl : controlBefore;
    bool altGr = event.altGr || (down ? mAltGr : altGrBefore || mKeysDownWithAltGr[vk]);
    mKeysDown[vk] = down;
    mKeysDownWithAltGr[vk] = down && altGr;
    if (down)
        mAltGrChord = altGr;

    bool system = (altHeld && !control && !altGr) || vk == VK_F10;
    uint32_t lParam = 1;
    if (altHeld)
        lParam |= kAltHeldBit;
    if (!down || event.repeat)
        lParam |= kPreviousDownBit;
    if (!down)
        lParam |= kReleaseBit;
    uint32_t message = down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
    out.push_back(Record(window, message, vk, static_cast<intptr_t>(lParam)));
    if (!down)
        return;

    // The characters TranslateMessage makes right after the key record. The
    // layout's AltGr characters are not known here; they come as text.
    if (altHeld && !control && !altGr) {
        uint32_t character = vk == VK_RETURN ? 13u : UnshiftedCharacter(vk);
        if (character != 0 && mShift && IsLetter(vk))
            character = vk;
        if (character != 0)
            out.push_back(Record(window, WM_SYSCHAR, character, static_cast<intptr_t>(lParam)));
        return;
    }
    uint32_t controlCharacter = 0;
    if (control && !altHeld && !altGr && IsLetter(vk))
        controlCharacter = vk - 'A' + 1;
    else if (vk == VK_BACK || vk == VK_TAB || vk == VK_RETURN || vk == VK_ESCAPE)
        controlCharacter = vk;
    if (controlCharacter != 0)
        out.push_back(Record(window, WM_CHAR, controlCharacter, static_cast<intptr_t>(lParam)));
}

void InputTranslator::TranslateText(const InputEvent& event, WindowHandle window, std::vector<Output>& out)
{
    // Alt alone and Ctrl alone already gave their character (or none) from the
    // key itself; AltGr and Ctrl with Alt type what the layout gives them.
    bool altGr = mAltGr || mAltGrChord || event.altGr;
    if (!altGr && mAlt != mControl)
        return;
    std::wstring units = MultiByteToWideChar(CP_UTF8, event.text);
    for (wchar_t unit : units) {
        uint32_t value = static_cast<uint32_t>(unit) & 0xFFFFu;
        if (value < 0x20 || value == 0x7F)
            continue; // control characters come from their keys
        out.push_back(Record(window, WM_CHAR, value, 1));
    }
}

} // namespace Platform
