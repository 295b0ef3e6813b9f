#include "widgets/Dialog.h"

namespace Tandry {

Dialog::Dialog(int dialogId, bool modal, const std::wstring& header, const std::wstring& lines,
               const std::wstring& footer, int mode)
    : dialogHeader(header), dialogFooter(footer), dialogLines(lines), buttonMode(mode), id(dialogId), isModal(modal)
{
    // TODO: the buttons, fonts, colours and the dialog listener come with the dialog panel.
}

int Dialog::GetPreferredHeight(int /*forWidth*/)
{
    // TODO: the height of the laid-out header, text, footer and buttons comes with the dialog panel.
    return 0;
}

bool Dialog::IsModal()
{
    return isModal;
}

int Dialog::ScreenModeChanged(bool /*windowed*/)
{
    return 0;
}

} // namespace Tandry
