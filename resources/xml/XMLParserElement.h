// One element handed out by the XML reader: a start tag with its attributes,
// an end tag, a run of text or a processing instruction. The resource
// manifest reader looks at its kind, name and attributes.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace Tandry {

class XMLParserElement {
public:
    using AttributeMap = std::map<std::wstring, std::wstring>;

    enum Kind { None = 0, Start = 1, End = 2, Text = 3, Instruction = 4, Comment = 5 };

    XMLParserElement() = default;
    // attributeOrder points into attributes, so a copy finds its own entries.
    XMLParserElement(const XMLParserElement& other);
    XMLParserElement& operator=(const XMLParserElement& other);
    XMLParserElement(XMLParserElement&&) = default;
    XMLParserElement& operator=(XMLParserElement&&) = default;
    virtual ~XMLParserElement() = default;

    // Inserts or replaces; false when the name was already there. Every
    // name but "/" is listed in attributeOrder again, also when replaced.
    bool AddAttribute(const std::wstring& name, const std::wstring& value);
    // Empties every field and sets the section.
    void Reset(const std::wstring& newSection);

    int kind = None;
    // The open path when the element started.
    std::wstring section;
    // Tag or instruction name, or the text; entities decoded.
    std::wstring value;
    // The text of an instruction after its name; not decoded.
    std::wstring instruction;
    AttributeMap attributes;
    // The attributes in the order the tag gave them.
    std::vector<AttributeMap::iterator> attributeOrder;
};

} // namespace Tandry
