// Shared pieces of the edit field tests: a listener that logs what it hears
// and refuses what a test's predicates say, and a fixture with the box fonts,
// the fake host and a manager holding one focused field, fed with key
// sequences as the platform delivers them (key-down, then the character).
#pragma once

#include "ControlTestSupport.h"
#include "FakeWidgetHost.h"
#include "widgets/EditListener.h"
#include "widgets/EditWidget.h"
#include "widgets/SysFont.h"
#include "widgets/WidgetManager.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace WidgetTest {

class RecordingEditListener : public Tandry::EditListener {
public:
    void EditWidgetText(int id, const std::wstring& text) override { entered.push_back(std::to_wstring(id) + L" " + text); }
    bool AllowKey(int /*id*/, int key) override
    {
        keys.push_back(key);
        return !refuseKey || !refuseKey(key);
    }
    bool AllowChar(int /*id*/, wchar_t ch) override
    {
        ++charsAsked;
        return !refuseChar || !refuseChar(ch);
    }
    bool AllowText(int /*id*/, const std::wstring& text) override { return !refuseText || !refuseText(text); }

    std::vector<std::wstring> entered;
    std::vector<int> keys;
    int charsAsked = 0;
    std::function<bool(int)> refuseKey;
    std::function<bool(wchar_t)> refuseChar;
    std::function<bool(const std::wstring&)> refuseText;
};

// The 10-point box font: 13 pixels high, ascent 10, every character 6 wide.
inline constexpr int kAdvance = 6;

class EditFixture : public ::testing::Test {
protected:
    static constexpr int kShift = 16;
    static constexpr int kControl = 17;

    EditFixture() : manager(&host)
    {
        host.widgetManager = &manager;
        manager.width = 1024;
        manager.height = 768;
        edit = new Tandry::EditWidget(&listener);
        Tandry::SysFont boxFont("Arial Unicode MS", 10, 0);
        edit->SetFont(&boxFont, nullptr);
        edit->Resize(0, 0, 200, 20);
        manager.AddWidget(edit);
        manager.SetFocus(edit);
    }
    ~EditFixture() override
    {
        if (edit->manager != nullptr)
            manager.RemoveWidget(edit);
        delete edit;
    }

    // A key-down, its character when it makes one, the key-up.
    void Press(int key, wchar_t ch = 0)
    {
        manager.KeyDown(key);
        if (ch != 0)
            manager.KeyChar(ch);
        manager.KeyUp(key);
    }
    void Type(const std::wstring& typed)
    {
        for (const wchar_t c : typed)
            Press(KeyOf(c), c);
    }
    // A key with a modifier held: Ctrl+letter makes the control character.
    void With(int modifier, int key, wchar_t ch = 0)
    {
        manager.KeyDown(modifier);
        Press(key, ch);
        manager.KeyUp(modifier);
    }
    void Undo() { With(kControl, 'Z', 26); }
    void Copy() { With(kControl, 'C', 3); }
    void Cut() { With(kControl, 'X', 24); }
    void Paste() { With(kControl, 'V', 22); }
    void Backspace() { Press(8, 8); }
    void Delete() { Press(46); }
    std::wstring Selected() const
    {
        if (edit->hilitePos == -1)
            return L"";
        const int from = std::min(edit->cursorPos, edit->hilitePos);
        const int to = std::max(edit->cursorPos, edit->hilitePos);
        return edit->text.substr(static_cast<size_t>(from), static_cast<size_t>(to - from));
    }

    static int KeyOf(wchar_t c)
    {
        if (c >= L'a' && c <= L'z')
            return c - L'a' + 'A';
        if ((c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') || c == L' ')
            return c;
        return 0;
    }

    BoxFonts fonts;
    Tandry::FakeWidgetHost host;
    Tandry::WidgetManager manager;
    RecordingEditListener listener;
    Tandry::EditWidget* edit = nullptr;
};

} // namespace WidgetTest
