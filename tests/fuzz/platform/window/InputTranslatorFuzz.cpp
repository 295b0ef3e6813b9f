// Input comes from the user in any order a keyboard, a mouse and a desktop can
// make: releases of keys pressed before the window had focus, AltGr and Alt
// chords crossed with Ctrl, focus lost halfway through a chord, text that is
// not UTF-8. The bytes become a run of such events through one translator.
// The records must keep two rules an application relies on: a key is released
// only after it was pressed (and not again until pressed again), and every
// character is a UTF-16 unit, with surrogates only as whole pairs.
#include "platform/window/InputTranslator.h"
#include "platform/window/VirtualKeys.h"
#include "platform/window/WindowMessages.h"
#include "tests/fuzz/FuzzBytes.h"

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

using namespace Platform;

// The keys whose rules differ; any other byte is a key code as it stands.
constexpr uint32_t kKeys[] = {VK_MENU, VK_CONTROL, VK_SHIFT, VK_RETURN, VK_F4, VK_F10, VK_BACK, 'Q', 'R', 'E', '7'};
constexpr size_t kKeyCount = sizeof kKeys / sizeof kKeys[0];
constexpr size_t kMaxEvents = 4000;

// Pieces of text that matter to the checks, beside raw bytes.
constexpr const char* kTexts[] = {"@", "\xE2\x82\xAC", "\xF0\x9F\x98\x80", "\xED\xA0\xBD", "\xF4\x90\x80\x80", "\xF0\x9F"};
constexpr size_t kTextCount = sizeof kTexts / sizeof kTexts[0];

bool IsHigh(uintptr_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLow(uintptr_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

uint32_t KeyCode(FuzzBytes& bytes)
{
    uint8_t pick = bytes.Byte();
    return pick < 2 * kKeyCount ? kKeys[pick % kKeyCount] : pick;
}

InputEvent Decode(FuzzBytes& bytes)
{
    InputEvent event;
    uint8_t op = bytes.Byte();
    switch (op % 8) {
    case 0:
    case 1:
        event.kind = op % 8 == 0 ? InputEventKind::KeyDown : InputEventKind::KeyUp;
        event.virtualKey = KeyCode(bytes);
        event.altGr = (op & 0x10) != 0;
        event.repeat = (op & 0x20) != 0;
        break;
    case 2: {
        event.kind = InputEventKind::Text;
        uint8_t length = bytes.Byte();
        if (length < 2 * kTextCount) {
            event.text = kTexts[length % kTextCount];
        } else {
            for (int i = length % 9; i > 0; --i)
                event.text.push_back(static_cast<char>(bytes.Byte()));
        }
        break;
    }
    case 3:
        event.kind = InputEventKind::MouseMotion;
        event.x = bytes.Range(-50, 1100);
        event.y = bytes.Range(-50, 800);
        break;
    case 4:
        event.kind = (op & 0x10) != 0 ? InputEventKind::MouseButtonDown : InputEventKind::MouseButtonUp;
        event.button = static_cast<MouseButton>(1 + bytes.Byte() % 4);
        event.clicks = bytes.Range(0, 4);
        break;
    case 5:
        event.kind = InputEventKind::MouseWheel;
        event.wheelY = bytes.Float(-400, 400);
        event.flipped = (op & 0x10) != 0;
        break;
    case 6:
        event.kind = (op & 0x10) != 0 ? InputEventKind::FocusGained : InputEventKind::FocusLost;
        break;
    default:
        event.kind = static_cast<InputEventKind>(bytes.Byte() % (static_cast<int>(InputEventKind::Quit) + 1));
        event.x = bytes.Range(0, 2000);
        event.y = bytes.Range(0, 2000);
        break;
    }
    return event;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzBytes bytes(data, size);
    InputTranslator translator;
    InputTranslator::Context context;
    context.clientWidth = 1024;
    context.clientHeight = 768;

    std::bitset<256> down;
    bool highPending = false;
    for (size_t events = 0; !bytes.Empty() && events < kMaxEvents; ++events) {
        for (const InputTranslator::Output& output : translator.Translate(Decode(bytes), context)) {
            const WindowMessage& record = output.record;
            bool character = record.message == WM_CHAR || record.message == WM_SYSCHAR;
            // A high surrogate is followed at once by the low one of its pair.
            FuzzCheck(highPending == (record.message == WM_CHAR && IsLow(record.wParam)));
            highPending = record.message == WM_CHAR && IsHigh(record.wParam);
            if (character) {
                FuzzCheck(record.wParam <= 0xFFFF);
                FuzzCheck(record.message == WM_CHAR || !(IsHigh(record.wParam) || IsLow(record.wParam)));
            }
            switch (record.message) {
            case WM_KEYDOWN:
            case WM_SYSKEYDOWN:
                FuzzCheck(record.wParam < down.size());
                down[record.wParam] = true;
                break;
            case WM_KEYUP:
            case WM_SYSKEYUP:
                FuzzCheck(record.wParam < down.size() && down[record.wParam]);
                down[record.wParam] = false;
                break;
            case WM_ACTIVATEAPP:
                if (record.wParam == 0)
                    down.reset(); // the keys held go on to the window that took focus
                break;
            default:
                break;
            }
        }
    }
    FuzzCheck(!highPending);
    return 0;
}
