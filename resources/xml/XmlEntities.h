// The named character references of the XML reader. Used by XMLParser on
// tag names, attribute names and values, and text.
#pragma once

#include <string>

namespace Tandry {

// "&lt;" "&amp;" "&gt;" "&quot;" "&apos;" "&nbsp;" (a space) and "&cr;" (a
// line feed) give their character; any other "&name;", numeric ones
// included, gives "&". An "&" with no ";" after it stays as it is.
std::wstring DecodeXmlEntities(const std::wstring& text);

} // namespace Tandry
