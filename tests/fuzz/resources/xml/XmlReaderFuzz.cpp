// The XML reader on arbitrary bytes, read from a pack member: every element
// until the end or the first error. Each element must have a kind from 1 to
// 4 and list only attributes it holds; an error must be one of the reader's
// own texts; and after a clean end the open path is empty exactly when every
// start tag was closed (counted here for tags whose names cannot be mistaken
// for paths: not empty, no "/", and no entity that could have hidden one).
#include "tests/fuzz/FuzzBytes.h"
#include "tests/fuzz/ImageFuzzPack.h"

#include "resources/xml/XMLParser.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

bool IsReaderError(const std::wstring& text)
{
    for (const wchar_t* fixed : {L"Illegal Character", L"Unexpected End of File", L"Unexpected '<'",
                                 L"Unexpected '>'", L"Unexpected End"}) {
        if (text == fixed)
            return true;
    }
    const std::wstring middle = L"' Doesn't Match Start '";
    return text.size() >= 5 + middle.size() + 1 && text.compare(0, 5, L"End '") == 0 && text.back() == L'\'' &&
           text.find(middle) != std::wstring::npos;
}

bool IsPlainName(const std::wstring& name)
{
    return !name.empty() && name.find_first_of(L"/&") == std::wstring::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (AddOneMemberPack("DATA\\FUZZ.XML", data, size)) {
        Tandry::XMLParser parser;
        FuzzCheck(parser.Open("data/fuzz.xml"));
        Tandry::XMLParserElement element;
        long depth = 0;
        bool plainNames = true;
        while (parser.ReadElement(element)) {
            FuzzCheck(element.kind >= Tandry::XMLParserElement::Start &&
                      element.kind <= Tandry::XMLParserElement::Instruction);
            for (const auto& position : element.attributeOrder) {
                auto found = element.attributes.find(position->first);
                FuzzCheck(found == position && position->first != L"/");
            }
            if (element.kind == Tandry::XMLParserElement::Start) {
                ++depth;
                plainNames = plainNames && IsPlainName(element.value);
            } else if (element.kind == Tandry::XMLParserElement::End) {
                --depth;
            }
        }
        if (parser.HasFailed())
            FuzzCheck(IsReaderError(parser.GetErrorText()));
        else if (plainNames)
            FuzzCheck(parser.GetCurrentPath().empty() == (depth == 0));
    }
    Tandry::GetSharedPakInterface()->Reset();
    return 0;
}
