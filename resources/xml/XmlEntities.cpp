#include "resources/xml/XmlEntities.h"

#include <string_view>

namespace Tandry {
namespace {

wchar_t EntityCharacter(std::wstring_view name)
{
    struct Entity {
        std::wstring_view name;
        wchar_t character;
    };
    static constexpr Entity kEntities[] = {
        {L"lt", L'<'},    {L"amp", L'&'}, {L"gt", L'>'},  {L"quot", L'"'},
        {L"apos", L'\''}, {L"nbsp", L' '}, {L"cr", L'\n'},
    };
    for (const Entity& entity : kEntities) {
        if (entity.name == name)
            return entity.character;
    }
    return L'&';
}

} // namespace

std::wstring DecodeXmlEntities(const std::wstring& text)
{
    std::wstring decoded;
    decoded.reserve(text.size());
    // The next ";" is looked for only once it lies behind us, so a text of
    // many "&" and no ";" stays linear.
    size_t semicolon = 0;
    bool semicolonKnown = false;
    size_t i = 0;
    while (i < text.size()) {
        const size_t amp = text.find(L'&', i);
        if (amp == std::wstring::npos) {
            decoded.append(text, i, std::wstring::npos);
            break;
        }
        decoded.append(text, i, amp - i);
        if (!semicolonKnown || (semicolon != std::wstring::npos && semicolon < amp)) {
            semicolon = text.find(L';', amp);
            semicolonKnown = true;
        }
        if (semicolon == std::wstring::npos) {
            decoded.append(text, amp, std::wstring::npos);
            break;
        }
        decoded += EntityCharacter(std::wstring_view(text).substr(amp + 1, semicolon - amp - 1));
        i = semicolon + 1;
    }
    return decoded;
}

} // namespace Tandry
