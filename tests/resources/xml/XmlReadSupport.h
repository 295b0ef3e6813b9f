// Reads a whole file with the XML reader into plain records that tests can
// compare: the elements until the end or the first error, and the parser's
// state afterwards. Used by the reader's tests.
#pragma once

#include "resources/xml/XMLParser.h"

#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace TestSupport {

struct XmlSeen {
    int kind = 0;
    std::wstring section;
    std::wstring value;
    std::vector<std::pair<std::wstring, std::wstring>> attributes;   // in document order
    bool operator==(const XmlSeen&) const = default;
};

inline void PrintTo(const XmlSeen& seen, std::ostream* out)
{
    auto narrow = [](const std::wstring& text) {
        std::string result;
        for (wchar_t c : text)
            result += c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?';
        return result;
    };
    *out << "{" << seen.kind << " [" << narrow(seen.section) << "] '" << narrow(seen.value) << "'";
    for (const auto& [name, value] : seen.attributes)
        *out << " " << narrow(name) << "=" << narrow(value);
    *out << "}";
}

struct XmlOutcome {
    std::vector<XmlSeen> elements;
    bool opened = false;
    bool failed = false;
    std::wstring error;
    int line = 0;
    std::wstring path;
};

inline XmlOutcome ReadAllElements(const std::string& fileName)
{
    XmlOutcome outcome;
    Tandry::XMLParser parser;
    outcome.opened = parser.Open(fileName);
    Tandry::XMLParserElement element;
    while (parser.ReadElement(element)) {
        XmlSeen seen{element.kind, element.section, element.value, {}};
        for (const auto& position : element.attributeOrder)
            seen.attributes.emplace_back(position->first, position->second);
        outcome.elements.push_back(std::move(seen));
    }
    outcome.failed = parser.HasFailed();
    outcome.error = parser.GetErrorText();
    outcome.line = parser.GetLineNumber();
    outcome.path = parser.GetCurrentPath();
    return outcome;
}

} // namespace TestSupport
