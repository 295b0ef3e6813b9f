#include "widgets/ButtonListener.h"

namespace Tandry {

void ButtonListener::OnButtonDown(int id, int /*button*/)
{
    OnButtonDown(id);
}

void ButtonListener::OnButtonDown(int /*id*/) {}

void ButtonListener::OnButtonClick(int id, int /*button*/)
{
    OnButtonClick(id);
}

void ButtonListener::OnButtonClick(int /*id*/) {}
void ButtonListener::OnButtonHeld(int /*id*/) {}
void ButtonListener::OnButtonHoverEnter(int /*id*/) {}
void ButtonListener::OnButtonHoverLeave(int /*id*/) {}
void ButtonListener::OnButtonHoverMove(int /*id*/, int /*x*/, int /*y*/) {}

} // namespace Tandry
