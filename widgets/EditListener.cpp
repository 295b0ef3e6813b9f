#include "widgets/EditListener.h"

namespace Tandry {

void EditListener::EditWidgetText(int /*id*/, const std::wstring& /*text*/) {}

bool EditListener::AllowKey(int /*id*/, int /*key*/)
{
    return true;
}

bool EditListener::AllowChar(int /*id*/, wchar_t /*ch*/)
{
    return true;
}

bool EditListener::AllowText(int /*id*/, const std::wstring& /*text*/)
{
    return true;
}

} // namespace Tandry
