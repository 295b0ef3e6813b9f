// The framework's message panel: a header, body text, a footer and up to two
// buttons (1000 yes / ok, 1001 no / cancel). The application registers
// dialogs by id, places those of width 0, and makes modal ones the manager's
// base modal widget; games derive their own dialogs from it.
#pragma once

#include "widgets/ButtonListener.h"
#include "widgets/Widget.h"

#include <climits>
#include <string>

namespace Tandry {

class Dialog : public Widget, public ButtonListener {
public:
    // The result until a button is clicked.
    static constexpr int kNoResult = INT_MAX;
    static constexpr int kYesButtonId = 1000;
    static constexpr int kNoButtonId = 1001;

    // Button modes: 1 YES / NO, 2 OK / CANCEL, 3 one button labelled with the
    // footer, anything else no buttons.
    Dialog(int dialogId, bool modal, const std::wstring& header, const std::wstring& lines,
           const std::wstring& footer, int mode);
    ~Dialog() override = default;

    virtual int GetPreferredHeight(int forWidth);
    virtual bool IsModal();
    // Told by the game when the screen mode changed; nothing here.
    virtual int ScreenModeChanged(bool windowed);

    std::wstring dialogHeader;
    std::wstring dialogFooter;
    std::wstring dialogLines;
    int buttonMode = 0;
    int id = 0;
    bool isModal = false;
    int result = kNoResult;
};

} // namespace Tandry
