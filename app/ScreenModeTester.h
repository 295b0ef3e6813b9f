// An invisible dialog without content that passes screen-mode changes on:
// a screen (the game's options panel) registers one with the application's
// dialogs, and when every dialog is told that the display switched between
// windowed and full screen, this one calls the screen back.
#pragma once

#include "widgets/BoundCall.h"
#include "widgets/Dialog.h"

namespace Tandry {

class ScreenModeTester : public Dialog {
public:
    static constexpr int kDialogId = 2423;

    // Not modal, no text and no buttons; it never takes the mouse.
    explicit ScreenModeTester(const BoundCall<int(bool)>& call);
    ~ScreenModeTester() override = default;

    // The bound call's answer for windowed; -1 when nothing is bound.
    int ScreenModeChanged(bool windowed) override;

private:
    BoundCall<int(bool)> mCall;
};

} // namespace Tandry
