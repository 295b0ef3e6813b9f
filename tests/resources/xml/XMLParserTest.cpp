#include "resources/xml/XMLParser.h"

#include "resources/pak/PakTestSupport.h"
#include "resources/xml/XmlReadSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Tandry::XMLParser;
using Tandry::XMLParserElement;
using TestSupport::ReadAllElements;
using TestSupport::XmlOutcome;
using TestSupport::XmlSeen;

constexpr int kStart = XMLParserElement::Start;
constexpr int kEnd = XMLParserElement::End;
constexpr int kText = XMLParserElement::Text;
constexpr int kInstruction = XMLParserElement::Instruction;

const std::string kBom = "\xEF\xBB\xBF";

class XmlReaderTest : public TestSupport::PakLayerTest {
protected:
    // The bytes as the one member of a pack, read to the end.
    XmlOutcome ReadFromPack(const std::string& bytes)
    {
        EXPECT_TRUE(mPak->AddPakMemory("test.pak", TestSupport::MakePack({{"data\\test.xml", bytes}})));
        return ReadAllElements("data\\test.xml");
    }
};

struct ElementsCase {
    const char* name;
    std::string input;
    std::vector<XmlSeen> elements;
};

TEST_F(XmlReaderTest, ReadsTheElementsOfEachFile)
{
    const std::vector<ElementsCase> cases = {
        {"slash before the bracket", "<a/>", {{kStart, L"", L"a", {}}, {kEnd, L"a", L"a", {}}}},
        {"blank before the slash", "<a />", {{kStart, L"", L"a", {}}, {kEnd, L"a", L"a", {}}}},
        {"slash after a quoted value",
         "<a b=\"c\"/>",
         {{kStart, L"", L"a", {{L"b", L"c"}}}, {kEnd, L"a", L"a", {}}}},
        {"last quoted value ending in a slash",
         "<a x=\"1\" b=\"c/\">",
         {{kStart, L"", L"a", {{L"x", L"1"}, {L"b", L"c"}}}, {kEnd, L"a", L"a", {}}}},
        {"an inner slash stays", "<a b=\"c/d\"></a>", {{kStart, L"", L"a", {{L"b", L"c/d"}}}, {kEnd, L"a", L"a", {}}}},
        {"attribute forms",
         "<a b = \"x  y\" c=d e f=\"1=2\" g=></a>",
         {{kStart, L"", L"a", {{L"b", L"x  y"}, {L"c", L"d"}, {L"e", L""}, {L"f", L"1=2"}, {L"g", L""}}},
          {kEnd, L"a", L"a", {}}}},
        {"entities in names and values",
         "<a&amp;b n&lt;=\"&quot;q&apos;\"/>",
         {{kStart, L"", L"a&b", {{L"n<", L"\"q'"}}}, {kEnd, L"a&amp;b", L"a&b", {}}}},
        {"a repeated attribute keeps the last value and both places",
         "<a x=\"1\" x=\"2\"/>",
         {{kStart, L"", L"a", {{L"x", L"2"}, {L"x", L"2"}}}, {kEnd, L"a", L"a", {}}}},
        {"text collapsed and trimmed",
         "<t>  one \t  two \n </t>",
         {{kStart, L"", L"t", {}}, {kText, L"t", L"one two", {}}, {kEnd, L"t", L"t", {}}}},
        {"white space only gives no text", "<t> \r\n\t </t>", {{kStart, L"", L"t", {}}, {kEnd, L"t", L"t", {}}}},
        {"quoted text keeps its blanks and its markup",
         "<t>say \"a  <b>\"</t>",
         {{kStart, L"", L"t", {}}, {kText, L"t", L"say \"a  <b>\"", {}}, {kEnd, L"t", L"t", {}}}},
        {"entities in text",
         "<t>&lt;&amp;&bogus;&#65;</t>",
         {{kStart, L"", L"t", {}}, {kText, L"t", L"<&&&", {}}, {kEnd, L"t", L"t", {}}}},
        {"a lone ampersand", "<t>a & b</t>", {{kStart, L"", L"t", {}}, {kText, L"t", L"a & b", {}}, {kEnd, L"t", L"t", {}}}},
        {"sections follow the open path",
         "<r><g><i/></g></r>",
         {{kStart, L"", L"r", {}},
          {kStart, L"r", L"g", {}},
          {kStart, L"r/g", L"i", {}},
          {kEnd, L"r/g/i", L"i", {}},
          {kEnd, L"r/g", L"g", {}},
          {kEnd, L"r", L"r", {}}}},
        {"a comment needs white space after its opening", "<!--x-->", {{kStart, L"", L"!--x--", {}}}},
        {"a comment is skipped", "<!-- x <b> \"\n -->\n<a/>", {{kStart, L"", L"a", {}}, {kEnd, L"a", L"a", {}}}},
        {"an instruction",
         "<?xml version=\"1.0\"?><a/>",
         {{kInstruction, L"", L"xml", {}}, {kStart, L"", L"a", {}}, {kEnd, L"a", L"a", {}}}},
        {"U+0120 separates like a blank",
         kBom + "<a\xC4\xA0" "b=\"1\"/>",
         {{kStart, L"", L"a", {{L"b", L"1"}}}, {kEnd, L"a", L"a", {}}}},
        {"8-bit bytes are their own characters",
         "<a b=\"\xE9\xFF\"/>",
         {{kStart, L"", L"a", {{L"b", L"\u00E9\u00FF"}}}, {kEnd, L"a", L"a", {}}}},
        {"a later U+FEFF is an ordinary character",
         kBom + "<a b=\"\xEF\xBB\xBF\"/>",
         {{kStart, L"", L"a", {{L"b", L"\uFEFF"}}}, {kEnd, L"a", L"a", {}}}},
        {"the byte-order mark alone", kBom, {}},
        {"an empty file", "", {}},
    };
    for (const ElementsCase& c : cases) {
        SCOPED_TRACE(c.name);
        mPak->Reset();
        const XmlOutcome outcome = ReadFromPack(c.input);
        EXPECT_TRUE(outcome.opened);
        EXPECT_FALSE(outcome.failed) << std::string(outcome.error.begin(), outcome.error.end());
        EXPECT_EQ(outcome.elements, c.elements);
        // Only the start tag named "!--x--" is left open.
        EXPECT_EQ(outcome.path, c.input == "<!--x-->" ? L"!--x--" : L"");
    }
}

TEST_F(XmlReaderTest, InstructionKeepsItsTextUndecoded)
{
    ASSERT_TRUE(mPak->AddPakMemory("test.pak", TestSupport::MakePack({{"a.xml", "<?pi  x=\"&lt;\" ?>"}})));
    XMLParser parser;
    ASSERT_TRUE(parser.Open("a.xml"));
    XMLParserElement element;
    ASSERT_TRUE(parser.ReadElement(element));
    EXPECT_EQ(element.kind, kInstruction);
    EXPECT_EQ(element.value, L"pi");
    EXPECT_EQ(element.instruction, L"  x=\"&lt;\" ");
    EXPECT_FALSE(parser.ReadElement(element));
    EXPECT_FALSE(parser.HasFailed());
}

struct ErrorCase {
    const char* name;
    std::string input;
    std::wstring error;
    int line;
    size_t elementsBefore;
};

TEST_F(XmlReaderTest, ReportsEachErrorAtItsLine)
{
    const std::vector<ErrorCase> cases = {
        {"end tag of another element", "<a>\n</b>", L"End 'b' Doesn't Match Start 'a'", 2, 1},
        {"mismatch deeper down", "<a>\n<b>\n\n</a>", L"End 'a' Doesn't Match Start 'b'", 4, 2},
        {"end tag with nothing open", "</a>", L"Unexpected End", 1, 0},
        {"closing bracket in text", "a>b", L"Unexpected '>'", 1, 0},
        {"closing bracket between tags", "<a/>\n>", L"Unexpected '>'", 2, 2},
        {"opening bracket inside a tag", "<a <b>", L"Unexpected '<'", 1, 0},
        {"opening bracket inside an end tag", "<a></a <b>", L"Unexpected '<'", 1, 1},
        {"cut start tag", "<a>\n<b c=\"1", L"Unexpected End of File", 2, 1},
        {"cut text", "<a>\ntext", L"Unexpected End of File", 2, 1},
        {"cut comment", "<!-- never closed", L"Unexpected End of File", 1, 0},
        {"cut instruction", "<?xml ", L"Unexpected End of File", 1, 0},
        {"control character between tags", "<a>\n\x01</a>", L"Illegal Character", 2, 1},
        {"control character in a tag", "<a\x1F/>", L"Illegal Character", 1, 0},
        {"malformed UTF-8 inside a tag", kBom + "<a \xC3\x28/>", L"Unexpected End of File", 1, 0},
        {"malformed UTF-8 where an element would begin", kBom + "<a/>\n\xFF", L"Illegal Character", 2, 2},
    };
    for (const ErrorCase& c : cases) {
        SCOPED_TRACE(c.name);
        mPak->Reset();
        const XmlOutcome outcome = ReadFromPack(c.input);
        EXPECT_TRUE(outcome.failed);
        EXPECT_EQ(outcome.error, c.error);
        EXPECT_EQ(outcome.line, c.line);
        EXPECT_EQ(outcome.elements.size(), c.elementsBefore);
    }
}

// Each malformed UTF-8 form of the reader, placed where an element would begin.
TEST_F(XmlReaderTest, RejectsEveryMalformedUtf8Form)
{
    const std::vector<std::string> forms = {
        "\x80",                       // continuation byte as a lead
        "\xFC\x80\x80\x80\x80\x80",   // six-byte lead
        "\xFE",
        "\xFF",
        "\xC3\x41",                   // missing continuation
        "\xC3",                       // cut at the end of the file
        "\xC0\x80",                   // overlong two-byte forms
        "\xC1\xBF",
        "\xE0\x9F\xBF",               // overlong three-byte form
        "\xF0\x8F\xBF\xBF",           // overlong four-byte form
        "\xF8\x87\xBF\xBF\xBF",       // overlong five-byte form
        "\xED\xA0\x80",               // U+D800
        "\xED\xBF\xBF",               // U+DFFF
        "\xEF\xBF\xBE",               // U+FFFE
        "\xEF\xBF\xBF",               // U+FFFF
    };
    for (const std::string& form : forms) {
        SCOPED_TRACE(testing::PrintToString(form));
        mPak->Reset();
        const XmlOutcome outcome = ReadFromPack(kBom + form);
        EXPECT_TRUE(outcome.failed);
        EXPECT_EQ(outcome.error, L"Illegal Character");
    }
}

TEST_F(XmlReaderTest, KeepsTheLow16BitsOfWideCharacters)
{
    const std::vector<std::pair<std::string, std::wstring>> cases = {
        {"\xF0\x9F\x98\x80", std::wstring(1, static_cast<wchar_t>(0xF600))},          // U+1F600
        {"\xF8\x88\x80\x80\x81", std::wstring(1, static_cast<wchar_t>(0x0001))},    // 0x200001
        {"\xE0\xA0\x80\xDF\xBF", L"\u0800\u07FF"},                                      // the smallest forms
        {"\xEF\xBB\xBF", L"\uFEFF"},
    };
    for (const auto& [bytes, expected] : cases) {
        SCOPED_TRACE(testing::PrintToString(bytes));
        mPak->Reset();
        const XmlOutcome outcome = ReadFromPack(kBom + "<a v=\"" + bytes + "\"/>");
        ASSERT_FALSE(outcome.failed);
        ASSERT_EQ(outcome.elements.size(), 2u);
        EXPECT_EQ(outcome.elements[0].attributes, (std::vector<std::pair<std::wstring, std::wstring>>{{L"v", expected}}));
    }
}

std::string Utf16(const std::wstring& text, bool bigEndian)
{
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (wchar_t c : text) {
        const char low = static_cast<char>(c & 0xFF);
        const char high = static_cast<char>((c >> 8) & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

TEST_F(XmlReaderTest, Utf16FilesReadLikeTheUtf8File)
{
    const std::string utf8 = kBom +
                             "<?xml version=\"1.0\"?>\r\n"
                             "<m>\r\n"
                             "  <i path=\"caf\xC3\xA9\" e=\"\xF0\x9F\x98\x80\"/>\r\n"
                             "  <!-- note -->\r\n"
                             "  <t>one\r\n two</t>\r\n"
                             "</m>\r\n";
    // The same text as UTF-16 units, the emoji as a surrogate pair.
    const std::wstring units = L"<?xml version=\"1.0\"?>\r\n"
                               L"<m>\r\n"
                               L"  <i path=\"caf\u00E9\" e=\"" +
                               std::wstring{static_cast<wchar_t>(0xD83D), static_cast<wchar_t>(0xDE00)} +
                               L"\"/>\r\n"
                               L"  <!-- note -->\r\n"
                               L"  <t>one\r\n two</t>\r\n"
                               L"</m>\r\n";
    const XmlOutcome expected = ReadFromPack(utf8);
    ASSERT_FALSE(expected.failed);
    ASSERT_EQ(expected.elements.size(), 8u);
    EXPECT_EQ(expected.elements[2].attributes[1].second, std::wstring(1, static_cast<wchar_t>(0xF600)));
    EXPECT_EQ(expected.line, 8);
    for (bool bigEndian : {false, true}) {
        SCOPED_TRACE(bigEndian ? "big-endian" : "little-endian");
        mPak->Reset();
        const XmlOutcome outcome = ReadFromPack(Utf16(units, bigEndian));
        EXPECT_FALSE(outcome.failed) << std::string(outcome.error.begin(), outcome.error.end());
        EXPECT_EQ(outcome.elements, expected.elements);
        EXPECT_EQ(outcome.line, expected.line);
        // And as a loose file on disk.
        mPak->Reset();
        TestSupport::WriteFile("loose.xml", Utf16(units, bigEndian));
        const XmlOutcome loose = ReadAllElements("loose.xml");
        EXPECT_EQ(loose.elements, expected.elements);
    }
}

TEST_F(XmlReaderTest, Utf16EndsAtABrokenPairOrAHalfUnit)
{
    const std::vector<std::pair<std::wstring, const char*>> cases = {
        {L"<a/>" + std::wstring(1, static_cast<wchar_t>(0xD83D)) + L"<b/>", "high surrogate without a low one"},
        {L"<a/>" + std::wstring(1, static_cast<wchar_t>(0xDE00)) + L"x", "low surrogate followed by a character"},
    };
    for (const auto& [units, name] : cases) {
        SCOPED_TRACE(name);
        mPak->Reset();
        const XmlOutcome outcome = ReadFromPack(Utf16(units, false));
        EXPECT_FALSE(outcome.failed);
        EXPECT_EQ(outcome.elements.size(), 2u);
    }
    mPak->Reset();
    const XmlOutcome half = ReadFromPack(Utf16(L"<a/>", false) + "<");
    EXPECT_FALSE(half.failed);
    EXPECT_EQ(half.elements.size(), 2u);
}

TEST_F(XmlReaderTest, CharactersAcrossReadBlocksStayWhole)
{
    // Three-byte characters from an offset that is no multiple of 3, so some
    // character straddles every block boundary.
    std::string text;
    std::wstring expected;
    for (int i = 0; i < 20000; ++i) {
        text += "\xE2\x82\xAC";
        expected += L'\u20AC';
    }
    const XmlOutcome outcome = ReadFromPack(kBom + "<t>" + text + "</t>");
    ASSERT_FALSE(outcome.failed);
    ASSERT_EQ(outcome.elements.size(), 3u);
    EXPECT_EQ(outcome.elements[1].value, expected);
}

TEST_F(XmlReaderTest, AParserWithoutAFileReadsNothing)
{
    XMLParser never;
    XMLParserElement element;
    EXPECT_FALSE(never.ReadElement(element));
    EXPECT_FALSE(never.HasFailed());
    EXPECT_EQ(never.GetErrorText(), L"");

    XMLParser missing;
    EXPECT_FALSE(missing.Open("data\\missing.xml"));
    EXPECT_TRUE(missing.HasFailed());
    EXPECT_EQ(missing.GetErrorText(), L"Unable to open file data\\missing.xml");
    EXPECT_EQ(missing.GetLineNumber(), 0);
    EXPECT_EQ(missing.GetFileName(), "");
    EXPECT_FALSE(missing.ReadElement(element));
    EXPECT_EQ(missing.GetErrorText(), L"Unable to open file data\\missing.xml");
}

TEST_F(XmlReaderTest, OpenTakesTheFileNameAndStartsAtLineOne)
{
    ASSERT_TRUE(mPak->AddPakMemory("test.pak", TestSupport::MakePack({{"data\\a.xml", "<a/>"}})));
    XMLParser parser;
    ASSERT_TRUE(parser.Open("data/a.xml"));
    EXPECT_EQ(parser.GetFileName(), "data/a.xml");
    EXPECT_EQ(parser.GetLineNumber(), 1);
    EXPECT_FALSE(parser.HasFailed());
}

TEST(XmlElement, AddAttributeReplacesAndListsEveryNameButSlash)
{
    XMLParserElement element;
    EXPECT_TRUE(element.AddAttribute(L"b", L"1"));
    EXPECT_TRUE(element.AddAttribute(L"/", L""));
    EXPECT_TRUE(element.AddAttribute(L"a", L"2"));
    EXPECT_FALSE(element.AddAttribute(L"b", L"3"));
    std::vector<std::wstring> order;
    for (const auto& position : element.attributeOrder)
        order.push_back(position->first);
    EXPECT_EQ(order, (std::vector<std::wstring>{L"b", L"a", L"b"}));
    EXPECT_EQ(element.attributes.size(), 3u);
    EXPECT_EQ(element.attributes.at(L"b"), L"3");

    // A copy lists its own entries.
    XMLParserElement copy = element;
    element.attributes.clear();
    element.attributeOrder.clear();
    ASSERT_EQ(copy.attributeOrder.size(), 3u);
    EXPECT_EQ(copy.attributeOrder[1]->second, L"2");
}

} // namespace
