#include "resources/xml/XmlEntities.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(XmlEntities, DecodesTheSevenNamesAndNothingElse)
{
    const std::vector<std::pair<std::wstring, std::wstring>> cases = {
        {L"&lt;&amp;&bogus;&#65;", L"<&&&"},
        {L"&gt;&quot;&apos;&nbsp;&cr;", L">\"' \n"},
        {L"&LT;&#x41;&;", L"&&&"},       // case-sensitive, numeric and empty names
        {L"a & b", L"a & b"},             // no ";" anywhere
        {L"&lt", L"&lt"},
        {L"&&lt;", L"&"},                 // the name runs from the first "&" to the ";"
        {L"a&b;c&d", L"a&c&d"},           // the second "&" has no ";" after it
        {L"x;&lt;;", L"x;<;"},
        {L"", L""},
    };
    for (const auto& [text, decoded] : cases)
        EXPECT_EQ(Tandry::DecodeXmlEntities(text), decoded) << std::string(text.begin(), text.end());
}

} // namespace
