// What an edit field tells its owner (the text when Enter is pressed) and
// asks of it (whether a key, a typed character or a new text is allowed).
// By default nothing is reported and everything is allowed; the scene
// editor's value editors and the profile-name screen implement it.
#pragma once

#include <string>

namespace Tandry {

class EditListener {
public:
    virtual ~EditListener() = default;

    virtual void EditWidgetText(int id, const std::wstring& text);
    virtual bool AllowKey(int id, int key);
    virtual bool AllowChar(int id, wchar_t ch);
    virtual bool AllowText(int id, const std::wstring& text);
};

} // namespace Tandry
