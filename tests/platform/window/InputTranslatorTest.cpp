#include "platform/window/InputTranslator.h"

#include "platform/window/VirtualKeys.h"
#include "platform/window/WindowMessages.h"
#include "platform/window/WindowTestSupport.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

using namespace Platform;
using namespace WindowTestSupport;

namespace {

struct Expected {
    uint32_t message;
    uintptr_t wParam;
    int64_t lParam = -1; // -1: not checked
};

struct Case {
    const char* name;
    std::vector<InputEvent> events;
    std::vector<Expected> records; // WM_SETCURSOR, dispatched at once, is not among them
};

constexpr int64_t kKeyDown = 1;
constexpr int64_t kKeyUp = 1 | (1u << 30) | (1u << 31);
constexpr int64_t kAltDown = 1 | (1u << 29);
constexpr int64_t kAltUp = kKeyUp | (1u << 29);

std::vector<Case> Cases()
{
    using K = InputEventKind;
    return {
        {"LeftClickAt10_20", {Button(MouseButton::Left, true, 1, 10, 20)},
         {{WM_LBUTTONDOWN, MK_LBUTTON, 0x0014000A}}},
        {"ClicksTwoAndThree",
         {Button(MouseButton::Left, true, 1, 5, 5), Button(MouseButton::Left, false, 1, 5, 5),
          Button(MouseButton::Left, true, 2, 5, 5), Button(MouseButton::Left, false, 2, 5, 5),
          Button(MouseButton::Left, true, 3, 5, 5)},
         {{WM_LBUTTONDOWN, MK_LBUTTON},
          {WM_LBUTTONUP, 0},
          {WM_LBUTTONDBLCLK, MK_LBUTTON},
          {WM_LBUTTONUP, 0},
          {WM_LBUTTONDOWN, MK_LBUTTON}}},
        {"RightDoubleClick", {Button(MouseButton::Right, true, 2, 1, 1)}, {{WM_RBUTTONDBLCLK, MK_RBUTTON}}},
        {"MiddleDoubleClick", {Button(MouseButton::Middle, true, 2, 1, 1)}, {{WM_MBUTTONDBLCLK, MK_MBUTTON}}},
        {"OtherButtonsIgnored", {Button(MouseButton::Other, true, 1, 1, 1)}, {}},
        {"CapturedDragOutside",
         {Button(MouseButton::Left, true, 1, 3, 3), Motion(-5, -7)},
         {{WM_LBUTTONDOWN, MK_LBUTTON}, {WM_MOUSEMOVE, MK_LBUTTON, 0xFFF9FFFB}}},
        {"ShiftHeldDuringMove", {Key(VK_SHIFT, true), Motion(1, 2)},
         {{WM_KEYDOWN, VK_SHIFT}, {WM_MOUSEMOVE, MK_SHIFT, 0x00020001}}},
        {"WheelUpOne", {Wheel(1.0f)}, {{WM_MOUSEWHEEL, 120u << 16}}},
        {"WheelDownTwo", {Wheel(-2.0f)}, {{WM_MOUSEWHEEL, static_cast<uintptr_t>(static_cast<uint16_t>(-240)) << 16}}},
        {"FlippedWheel", {Wheel(1.0f, true)},
         {{WM_MOUSEWHEEL, static_cast<uintptr_t>(static_cast<uint16_t>(-120)) << 16}}},
        {"HalfNotch", {Wheel(0.5f)}, {{WM_MOUSEWHEEL, 60u << 16}}},
        {"InfiniteFlippedWheelIsTheLargestTurnDown", {Wheel(std::numeric_limits<float>::infinity(), true)},
         {{WM_MOUSEWHEEL, 0x8001u << 16}}},
        {"WheelThatIsNotANumberIsNoTurn", {Wheel(std::numeric_limits<float>::quiet_NaN())}, {{WM_MOUSEWHEEL, 0}}},
        {"ShiftA",
         {Key(VK_SHIFT, true), Key('A', true), Text("A")},
         {{WM_KEYDOWN, VK_SHIFT, kKeyDown}, {WM_KEYDOWN, 'A', kKeyDown}, {WM_CHAR, 'A'}}},
        {"CtrlC",
         {Key(VK_CONTROL, true), Key('C', true), Text("c")},
         {{WM_KEYDOWN, VK_CONTROL}, {WM_KEYDOWN, 'C'}, {WM_CHAR, 3}}},
        {"CtrlControlCharacters",
         {Key(VK_CONTROL, true), Key('V', true), Key('X', true), Key('Z', true)},
         {{WM_KEYDOWN, VK_CONTROL}, {WM_KEYDOWN, 'V'}, {WM_CHAR, 22}, {WM_KEYDOWN, 'X'}, {WM_CHAR, 24},
          {WM_KEYDOWN, 'Z'}, {WM_CHAR, 26}}},
        {"Backspace", {Key(VK_BACK, true)}, {{WM_KEYDOWN, VK_BACK}, {WM_CHAR, 8}}},
        {"KeypadEnter", {Key(VK_RETURN, true)}, {{WM_KEYDOWN, VK_RETURN}, {WM_CHAR, 13}}},
        {"TabAndEscape", {Key(VK_TAB, true), Key(VK_ESCAPE, true)},
         {{WM_KEYDOWN, VK_TAB}, {WM_CHAR, 9}, {WM_KEYDOWN, VK_ESCAPE}, {WM_CHAR, 27}}},
        {"AltR",
         {Key(VK_MENU, true), Key('R', true), Text("r"), Key('R', false), Key(VK_MENU, false)},
         {{WM_SYSKEYDOWN, VK_MENU, kAltDown},
          {WM_SYSKEYDOWN, 'R', kAltDown},
          {WM_SYSCHAR, 'r', kAltDown},
          {WM_SYSKEYUP, 'R', kAltUp},
          {WM_SYSKEYUP, VK_MENU, kAltUp}}},
        {"AltEnter", {Key(VK_MENU, true), Key(VK_RETURN, true)},
         {{WM_SYSKEYDOWN, VK_MENU}, {WM_SYSKEYDOWN, VK_RETURN}, {WM_SYSCHAR, 13}}},
        {"AltF4", {Key(VK_MENU, true), Key(VK_F4, true)}, {{WM_SYSKEYDOWN, VK_MENU}, {WM_SYSKEYDOWN, VK_F4}}},
        {"F10", {Key(VK_F10, true), Key(VK_F10, false)},
         {{WM_SYSKEYDOWN, VK_F10, kKeyDown}, {WM_SYSKEYUP, VK_F10, kKeyUp}}},
        {"AutoRepeatSetsBit30", {Key('Q', true), Key('Q', true, true), Key('Q', false)},
         {{WM_KEYDOWN, 'Q', kKeyDown}, {WM_KEYDOWN, 'Q', kKeyDown | (1u << 30)}, {WM_KEYUP, 'Q', kKeyUp}}},
        {"TextEAcute", {Text("\xC3\xA9")}, {{WM_CHAR, 0xE9}}},
        {"TextOutsideTheBasicPlane", {Text("\xF0\x9F\x98\x80")}, {{WM_CHAR, 0xD83D}, {WM_CHAR, 0xDE00}}},
        {"TextControlCharactersDropped", {Text("a\rb")}, {{WM_CHAR, 'a'}, {WM_CHAR, 'b'}}},
        {"FocusLoss", {Window(K::FocusLost)}, {{WM_ACTIVATEAPP, 0}}},
        {"FocusLossForgetsAlt", {Key(VK_MENU, true), Window(K::FocusLost), Text("r")},
         {{WM_SYSKEYDOWN, VK_MENU}, {WM_ACTIVATEAPP, 0}, {WM_CHAR, 'r'}}},
        {"FocusGain", {Window(K::FocusGained)}, {{WM_ACTIVATEAPP, 1}}},
        {"Minimise", {Window(K::Minimized)}, {{WM_SIZE, SIZE_MINIMIZED}}},
        {"Restore", {Window(K::Minimized), Window(K::Restored)},
         {{WM_SIZE, SIZE_MINIMIZED}, {WM_SIZE, SIZE_RESTORED, 0x03000400}}},
        {"CloseButton", {Window(K::CloseRequested)}, {{WM_CLOSE, 0, 0}}},
        {"Quit", {Window(K::Quit)}, {{WM_CLOSE, 0, 0}}},
        {"DisplayChange", {Window(K::DisplayChanged)}, {{WM_DISPLAYCHANGE, 32}}},
        {"ExposeMakesPaintAtPumpTime", {Window(K::Exposed)}, {{WM_PAINT, 0}}},
    };
}

// Presses the modifiers in order, then the key; the text, if any, comes with
// the key as SDL sends it; then everything is released in reverse order.
std::vector<InputEvent> Chord(std::vector<InputEvent> modifiers, uint32_t key, const char* text)
{
    std::vector<InputEvent> events = modifiers;
    events.push_back(Key(key, true));
    if (text != nullptr)
        events.push_back(Text(text));
    events.push_back(Key(key, false));
    for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it) {
        InputEvent release = *it;
        release.kind = InputEventKind::KeyUp;
        events.push_back(release);
    }
    return events;
}

// Left Alt keeps Windows' system keys; AltGr, and Ctrl with Alt, which Windows
// reports for AltGr, are ordinary keys whose character is the layout's text.
std::vector<Case> Chords()
{
    const InputEvent alt = Key(VK_MENU, true);
    const InputEvent altGr = AltGr(true);
    const InputEvent ctrl = Key(VK_CONTROL, true);
    // The text SDL may send with these chords changes nothing: the key gave the character.
    const std::vector<Expected> leftAltQ = {{WM_SYSKEYDOWN, VK_MENU, kAltDown},
                                            {WM_SYSKEYDOWN, 'Q', kAltDown},
                                            {WM_SYSCHAR, 'q', kAltDown},
                                            {WM_SYSKEYUP, 'Q', kAltUp},
                                            {WM_SYSKEYUP, VK_MENU, kAltUp}};
    const std::vector<Expected> ctrlQ = {{WM_KEYDOWN, VK_CONTROL, kKeyDown},
                                         {WM_KEYDOWN, 'Q', kKeyDown},
                                         {WM_CHAR, 17, kKeyDown},
                                         {WM_KEYUP, 'Q', kKeyUp},
                                         {WM_KEYUP, VK_CONTROL, kKeyUp}};
    return {
        {"LeftAlt", Chord({alt}, 'Q', nullptr),
         leftAltQ},
        {"LeftAltWithText", Chord({alt}, 'Q', "q"),
         leftAltQ},
        {"AltGr", Chord({altGr}, 'Q', nullptr),
         {{WM_KEYDOWN, VK_MENU, kKeyDown}, {WM_KEYDOWN, 'Q', kKeyDown}, {WM_KEYUP, 'Q', kKeyUp},
          {WM_KEYUP, VK_MENU, kKeyUp}}},
        {"AltGrWithText", Chord({altGr}, 'Q', "@"),
         {{WM_KEYDOWN, VK_MENU, kKeyDown},
          {WM_KEYDOWN, 'Q', kKeyDown},
          {WM_CHAR, '@', 1},
          {WM_KEYUP, 'Q', kKeyUp},
          {WM_KEYUP, VK_MENU, kKeyUp}}},
        {"AltGrEuro", Chord({altGr}, 'E', "\xE2\x82\xAC"),
         {{WM_KEYDOWN, VK_MENU}, {WM_KEYDOWN, 'E'}, {WM_CHAR, 0x20AC}, {WM_KEYUP, 'E'}, {WM_KEYUP, VK_MENU}}},
        {"AltGrShiftedOutOfTheBasicPlane", Chord({altGr, Key(VK_SHIFT, true)}, 'Q', "\xF0\x9F\x98\x80"),
         {{WM_KEYDOWN, VK_MENU}, {WM_KEYDOWN, VK_SHIFT}, {WM_KEYDOWN, 'Q'}, {WM_CHAR, 0xD83D}, {WM_CHAR, 0xDE00},
          {WM_KEYUP, 'Q'}, {WM_KEYUP, VK_SHIFT}, {WM_KEYUP, VK_MENU}}},
        {"AltGrEnterKeepsTheWindowMode", Chord({altGr}, VK_RETURN, nullptr),
         {{WM_KEYDOWN, VK_MENU}, {WM_KEYDOWN, VK_RETURN}, {WM_CHAR, 13}, {WM_KEYUP, VK_RETURN},
          {WM_KEYUP, VK_MENU}}},
        {"CtrlAlt", Chord({ctrl, alt}, 'Q', nullptr),
         {{WM_KEYDOWN, VK_CONTROL, kKeyDown},
          {WM_KEYDOWN, VK_MENU, kAltDown},
          {WM_KEYDOWN, 'Q', kAltDown},
          {WM_KEYUP, 'Q', kAltUp},
          {WM_KEYUP, VK_MENU, kAltUp},
          {WM_KEYUP, VK_CONTROL, kKeyUp}}},
        {"CtrlAltWithText", Chord({ctrl, alt}, 'Q', "@"),
         {{WM_KEYDOWN, VK_CONTROL, kKeyDown},
          {WM_KEYDOWN, VK_MENU, kAltDown},
          {WM_KEYDOWN, 'Q', kAltDown},
          {WM_CHAR, '@', 1},
          {WM_KEYUP, 'Q', kAltUp},
          {WM_KEYUP, VK_MENU, kAltUp},
          {WM_KEYUP, VK_CONTROL, kKeyUp}}},
        {"AltThenCtrlWithText", Chord({alt, ctrl}, 'Q', "@"),
         {{WM_SYSKEYDOWN, VK_MENU, kAltDown},
          {WM_KEYDOWN, VK_CONTROL, kAltDown},
          {WM_KEYDOWN, 'Q', kAltDown},
          {WM_CHAR, '@', 1},
          {WM_KEYUP, 'Q', kAltUp},
          {WM_KEYUP, VK_CONTROL, kAltUp},
          {WM_SYSKEYUP, VK_MENU, kAltUp}}},
        {"Ctrl", Chord({ctrl}, 'Q', nullptr),
         ctrlQ},
        {"CtrlWithText", Chord({ctrl}, 'Q', "q"),
         ctrlQ},
        // The right Alt went down as Alt; the back end knew AltGr only from the key's text.
        {"AltGrKnownOnlyAtTheKey",
         {alt, [] { InputEvent q = Key('Q', true); q.altGr = true; return q; }(), Text("@"), Key('Q', false),
          Key(VK_MENU, false)},
         {{WM_SYSKEYDOWN, VK_MENU, kAltDown},
          {WM_KEYDOWN, 'Q', kAltDown},
          {WM_CHAR, '@', 1},
          {WM_KEYUP, 'Q', kAltUp},
          {WM_SYSKEYUP, VK_MENU, kAltUp}}},
        {"AltGrReleasedThenLeftAlt", {altGr, AltGr(false), alt, Key('R', true), Text("r")},
         {{WM_KEYDOWN, VK_MENU}, {WM_KEYUP, VK_MENU}, {WM_SYSKEYDOWN, VK_MENU}, {WM_SYSKEYDOWN, 'R'},
          {WM_SYSCHAR, 'r'}}},
        {"ReleaseWithoutPressIsDropped", {Key('Q', false), Key(VK_MENU, false)}, {}},
        {"ReleaseAfterFocusLossIsDropped", {Key('Q', true), Window(InputEventKind::FocusLost), Key('Q', false)},
         {{WM_KEYDOWN, 'Q'}, {WM_ACTIVATEAPP, 0}}},
    };
}

void PrintTo(const Case& c, std::ostream* out)
{
    *out << c.name;
}

class InputTranslation : public testing::TestWithParam<Case> {};

TEST_P(InputTranslation, GivesTheRecordsWindowsGives)
{
    Desktop desktop;
    desktop.CreateMain();
    for (const InputEvent& event : GetParam().events)
        desktop.Inject(event);
    std::vector<WindowMessage> records = desktop.Drain();
    const std::vector<Expected>& expected = GetParam().records;
    ASSERT_EQ(records.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE("record " + std::to_string(i));
        EXPECT_EQ(records[i].hwnd, desktop.main);
        EXPECT_EQ(records[i].message, expected[i].message);
        EXPECT_EQ(records[i].wParam, expected[i].wParam);
        if (expected[i].lParam >= 0) {
            EXPECT_EQ(static_cast<uint32_t>(records[i].lParam), static_cast<uint32_t>(expected[i].lParam));
        }
    }
}

std::string CaseName(const testing::TestParamInfo<Case>& test)
{
    return test.param.name;
}

INSTANTIATE_TEST_SUITE_P(Cases, InputTranslation, testing::ValuesIn(Cases()), CaseName);
INSTANTIATE_TEST_SUITE_P(Chords, InputTranslation, testing::ValuesIn(Chords()), CaseName);

TEST(InputTranslator, MoveInsideTheClientAreaDispatchesSetCursorBeforeQueueingTheMove)
{
    Desktop desktop;
    desktop.CreateMain();
    InputEvent inside = Motion(1023, 767);
    desktop.Inject(inside);
    ASSERT_EQ(Sent().size(), 1u);
    EXPECT_EQ(Sent()[0].message, WM_SETCURSOR);
    EXPECT_EQ(Sent()[0].lParam, MakeLParam(HTCLIENT, WM_MOUSEMOVE));

    InputEvent outside = inside;
    outside.x = 1024;
    desktop.Inject(outside);
    EXPECT_EQ(Sent().size(), 1u);
    EXPECT_EQ(desktop.Drain().size(), 2u);
}

TEST(InputTranslator, WheelCarriesTheCursorScreenPosition)
{
    Desktop desktop;
    desktop.CreateMain();
    desktop.Inject(Motion(10, 20));
    desktop.Inject(Wheel(1.0f));
    std::vector<WindowMessage> records = desktop.Drain();
    ASSERT_EQ(records.size(), 2u);
    // The window's outer corner is (100, 50) and its frame 3 wide and 26 high on top.
    EXPECT_EQ(LowWordSigned(records[1].lParam), 100 + 3 + 10);
    EXPECT_EQ(HighWordSigned(records[1].lParam), 50 + 26 + 20);
}

TEST(InputTranslator, WindowWithoutDoubleClickClassGetsPlainDowns)
{
    Desktop desktop;
    WindowHandle invisible = desktop.windows.CreateWindow("InvisWindow", L"", 0, 0, 0, 0, 10, 10);
    InputEvent click = Button(MouseButton::Left, true, 2, 0, 0);
    click.window = invisible;
    desktop.windows.Inject(click);
    std::vector<WindowMessage> records = desktop.Drain();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].message, WM_LBUTTONDOWN);
}

TEST(InputTranslator, AltF4ThroughDefaultProcessingEndsInCloseAndDestroy)
{
    Desktop desktop;
    desktop.CreateMain();
    desktop.Inject(Key(VK_MENU, true));
    desktop.Inject(Key(VK_F4, true));
    WindowMessage record;
    std::vector<uint32_t> dispatched;
    while (desktop.windows.PeekMessage(record)) {
        dispatched.push_back(record.message);
        desktop.windows.DispatchMessage(record);
    }
    EXPECT_EQ(dispatched, (std::vector<uint32_t>{WM_SYSKEYDOWN, WM_SYSKEYDOWN, WM_CLOSE}));
    EXPECT_EQ(Sent().back().message, WM_DESTROY);
    EXPECT_FALSE(desktop.windows.IsWindow(desktop.main));
}

// What the window procedure of an edit field receives, pumped as the game
// pumps: the AltGr character as WM_CHAR, and nothing a system key would start,
// so AltGr+F4 does not close the window as Alt+F4 does.
TEST(InputTranslator, AltGrTextReachesTheWindowProcedureAsACharacter)
{
    Desktop desktop;
    desktop.CreateMain();
    for (const InputEvent& event : {AltGr(true), Key('Q', true), Text("@"), Key('Q', false), Key(VK_F4, true),
                                    Key(VK_F4, false), AltGr(false)})
        desktop.Inject(event);
    WindowMessage record;
    while (desktop.windows.PeekMessage(record))
        desktop.windows.DispatchMessage(record);
    std::vector<uint32_t> messages;
    std::vector<uintptr_t> characters;
    for (const WindowMessage& sent : Sent()) {
        messages.push_back(sent.message);
        if (sent.message == WM_CHAR)
            characters.push_back(sent.wParam);
    }
    EXPECT_EQ(messages, (std::vector<uint32_t>{WM_KEYDOWN, WM_KEYDOWN, WM_CHAR, WM_KEYUP, WM_KEYDOWN, WM_KEYUP,
                                               WM_KEYUP}));
    EXPECT_EQ(characters, (std::vector<uintptr_t>{'@'}));
    EXPECT_TRUE(desktop.windows.IsWindow(desktop.main));
}

} // namespace
