#include "resources/xml/XMLParserElement.h"

namespace Tandry {

XMLParserElement::XMLParserElement(const XMLParserElement& other)
{
    *this = other;
}

XMLParserElement& XMLParserElement::operator=(const XMLParserElement& other)
{
    if (this == &other)
        return *this;
    kind = other.kind;
    section = other.section;
    value = other.value;
    instruction = other.instruction;
    attributes = other.attributes;
    attributeOrder.clear();
    for (const auto& position : other.attributeOrder)
        attributeOrder.push_back(attributes.find(position->first));
    return *this;
}

bool XMLParserElement::AddAttribute(const std::wstring& name, const std::wstring& attributeValue)
{
    auto [position, inserted] = attributes.insert_or_assign(name, attributeValue);
    if (name != L"/")
        attributeOrder.push_back(position);
    return inserted;
}

void XMLParserElement::Reset(const std::wstring& newSection)
{
    kind = None;
    section = newSection;
    value.clear();
    instruction.clear();
    attributes.clear();
    attributeOrder.clear();
}

} // namespace Tandry
