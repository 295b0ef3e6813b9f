#include "resources/ini/IniDocument.h"

#include "resources/ini/IniDocumentDump.h"
#include "resources/ini/IniStdIStream.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Tandry::IniCommentFlag::OwnLine;
using Tandry::IniCommentFlag::TextFollows;
using Tandry::NarrowIniDocument;
using Tandry::WideIniDocument;
using Lines = std::vector<std::string>;

Lines Read(const std::string& text)
{
    NarrowIniDocument doc;
    IniTest::LoadText(doc, text);
    return IniTest::Dump(doc);
}

std::string ReadFile(const std::string& name)
{
    std::ifstream in(std::string(MOORGLEN_TEST_DATA) + "/ini/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct GrammarCase {
    const char* what;
    std::string text;
    Lines expected;
};

TEST(IniGrammar, ReadsEveryFormOfEntry)
{
    const GrammarCase cases[] = {
        GrammarCase{"escaped sign and trailing comment", "key = a\\#b ; note", {"[]", "kkey=a#b", "c; note"}},
        GrammarCase{"backslash joins CR LF", "k=ab\\\r\ncd\r\nx=1", {"[]", "kk=abcd", "kx=1"}},
        GrammarCase{"backslash joins LF", "k=ab\\\ncd\nx=1", {"[]", "kk=abcd", "kx=1"}},
        GrammarCase{"repeated header joins the last section read",
                    "[Main]\nk=1\n[Other]\nx=1\n[main]\ny=2",
                    {"[Main]", "kk=1", "[Other]", "kx=1", "ky=2"}},
        GrammarCase{"first of two keys differing in case stays", "[S]\nName=1\nname=2", {"[S]", "kName=1"}},
        GrammarCase{"every comment kind",
                    "# hash\n; semi\n// slashes\n/* block\nover lines */\nk=v // trailing",
                    {"[]", "c# hash", "c; semi", "c// slashes", "c/* block\nover lines */", "kk=v",
                     "c// trailing"}},
        GrammarCase{"text after a block comment is a new entry", "/* a */ k=v", {"[]", "c/* a */", "kk=v"}},
        GrammarCase{"a lone slash is ordinary", "a/b=c/d/", {"[]", "ka/b=c/d/"}},
        GrammarCase{"further '=' belong to the value", "k=a=b", {"[]", "kk=a=b"}},
        GrammarCase{"rest of a header line is ignored", "[S] junk=1\nk=v", {"[S]", "kk=v"}},
        GrammarCase{"blanks trimmed, tabs included", "[ A\t]\n  k \t=  v \t", {"[A]", "kk=v"}},
        GrammarCase{"escapes", "k=\\n\\r\\x\\\\\\;", {"[]", std::string("kk=\n\rx\\;")}},
        GrammarCase{"escaped '=' still ends the name", "a\\=b", {"[]", "ka=b"}},
        GrammarCase{"escaped '[' still starts a header", "\\[S]\nk=1", {"[S]", "kk=1"}},
        GrammarCase{"empty key name", "=v", {"[]", "k=v"}},
        GrammarCase{"key without '='", "justname", {"[]", "kjustname="}},
        GrammarCase{"escaped blanks are kept", "k=\\ a\\ \nj=\\\t", {"[]", "kk= a ", "kj=\t"}},
        GrammarCase{"comment sign ends a header", "[S ; c]\nk=1", {"[S]", "c; c]", "kk=1"}},
        GrammarCase{"backslash at the end of a comment line joins", "; c\\\nmore\nk=1", {"[]", "c; cmore", "kk=1"}},
        GrammarCase{"slash and backslash inside a comment are kept", "; a\\b /x\n# p//q", {"[]", "c; a\\b /x", "c# p//q"}},
        GrammarCase{"opening star does not close a block comment", "/*/ x */k=1", {"[]", "c/*/ x */", "kk=1"}},
        GrammarCase{"unnamed header after keys is a repeat", "k=1\n[]\nx=2", {"[]", "kk=1", "kx=2"}},
        GrammarCase{"unnamed section after a named one", "[A]\nk=1\n[]\nx=2", {"[A]", "kk=1", "[]", "kx=2"}},
        GrammarCase{"nothing", "", {}},
        GrammarCase{"only blank lines", "\r\n \t\r\n", {}},
        GrammarCase{"header cut short", "[S", {"[S]"}},
        GrammarCase{"value cut short after a backslash", "k=v\\", {"[]", "kk=v\\"}},
        GrammarCase{"value cut short after a slash", "k=v/", {"[]", "kk=v/"}},
        GrammarCase{"lone slash", "/", {"[]", "k/="}},
        GrammarCase{"lone backslash", "\\", {"[]", "k\\="}},
        GrammarCase{"open block comment runs to the end", "/* open\nk=1", {"[]", "c/* open\nk=1"}},
        GrammarCase{"line comment cut short after a backslash", "; c\\", {"[]", "c; c\\"}},
        GrammarCase{"NUL and high bytes are ordinary", std::string("k=a\0\xE9", 5), {"[]", std::string("kk=a\0\xE9", 6)}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Read(c.text), c.expected) << c.what;
}

TEST(IniDocument, CommentFlagsTellOwnLineAndFollowingText)
{
    NarrowIniDocument doc;
    IniTest::LoadText(doc, "k=v ; c\n; own\n/* b */ x=1\n/* last */\n");
    std::vector<int> flags;
    auto cursor = doc.Begin(Tandry::IniKind::Comment);
    while (cursor.Next() != Tandry::IniKind::None)
        flags.push_back(cursor.GetFlags());
    EXPECT_EQ(flags, (std::vector<int>{0, OwnLine, OwnLine | TextFollows, OwnLine}));
}

TEST(IniDocument, LineEndingIsTheFirstOneOfTheFile)
{
    const std::pair<std::string, std::string> cases[] = {
        {"a=1\r\nb=2", "\r\n"}, {"a=1\nb=2\r\n", "\n"}, {"a=1\rb=2", "\r"},
        {"a=1\n\rb=2", "\n\r"}, {"a=1", "\r\n"},        {"/*\n*/\r\n", "\n"},
        {"k=a\\\r\nb\n", "\r\n"},
    };
    for (const auto& [text, ending] : cases) {
        NarrowIniDocument doc;
        IniTest::LoadText(doc, text);
        EXPECT_EQ(doc.GetLineEnding(), ending) << text;
    }
}

TEST(IniDocument, LoadEmptiesTheDocumentFirst)
{
    NarrowIniDocument doc;
    IniTest::LoadText(doc, "[Old]\nk=1\n");
    IniTest::LoadText(doc, "k=2");
    EXPECT_EQ(IniTest::Dump(doc), (Lines{"[]", "kk=2"}));
    EXPECT_EQ(doc.GetLineEnding(), "\r\n");
}

TEST(IniDocument, SavesTrailingCommentOnTheKeyLine)
{
    NarrowIniDocument doc;
    IniTest::LoadText(doc, "key = a\\#b ; note");
    EXPECT_EQ(NarrowIniDocument::SaveBytes(doc), "key=a\\#b; note");
}

TEST(IniDocument, WriterLayoutFilesSaveByteForByte)
{
    for (const char* name : {"layout_crlf.ini", "layout_lf.ini"}) {
        const std::string bytes = ReadFile(name);
        ASSERT_FALSE(bytes.empty()) << name;
        NarrowIniDocument doc;
        IniTest::LoadText(doc, bytes);
        EXPECT_EQ(NarrowIniDocument::SaveBytes(doc), bytes) << name;
    }
}

TEST(IniDocument, WriterLayoutFileReadsAsWritten)
{
    NarrowIniDocument doc;
    IniTest::LoadText(doc, ReadFile("layout_lf.ini"));
    EXPECT_EQ(IniTest::Dump(doc),
              (Lines{"[]", "c; Profile of the test player", "[Main]", "kName=0041006e006e", "kProgress=0.25",
                     "c; trailing comment", "c/* block\n   comment */", "kIsGameComplete=0", "[Levels]",
                     "c// line comment", "kTimePlayed=1234", "kScene1=a#b;c\\d", "c/* inline */", "kScene2=x",
                     "kUrl=http://host/p", "[Empty]"}));
}

TEST(IniDocument, Utf16WithoutByteOrderMarkLosesItsFirstCharacter)
{
    WideIniDocument doc;
    IniTest::LoadText(doc, IniTest::Utf16Bytes(L"k=v", false));
    EXPECT_EQ(IniTest::Dump(doc), (std::vector<std::wstring>{L"[]", L"k=v"}));
}

TEST(IniDocument, Utf16SavesByteOrderMarkAndRoundTripsByteForByte)
{
    const std::string bytes =
        IniTest::Utf16Bytes(L"[Interface]\r\nTitle=\u00C9t\u00E9 \u4E2D\r\n; note\r\n\r\n[Movie]\r\nIntro=\xD83D");
    WideIniDocument doc;
    IniTest::LoadText(doc, bytes);
    EXPECT_EQ(doc.FindKey(L"interface", L"title").GetValue(), L"\u00C9t\u00E9 \u4E2D");
    const std::string saved = WideIniDocument::SaveBytes(doc);
    EXPECT_EQ(saved.substr(0, 2), "\xFF\xFE");
    EXPECT_EQ(saved, bytes);
}

TEST(IniDocument, Utf16IgnoresAnOddLastByte)
{
    WideIniDocument doc;
    IniTest::LoadText(doc, IniTest::Utf16Bytes(L"k=ab") + "c");
    EXPECT_EQ(IniTest::Dump(doc), (std::vector<std::wstring>{L"[]", L"kk=ab"}));
}

TEST(IniDocument, WideCharacterAboveSixteenBitsIsWrittenAsSurrogatePair)
{
    WideIniDocument doc;
    doc.AddKey(doc.FindOrAddSection(L"S"), L"k", std::wstring(1, wchar_t(0x1F600)));
    EXPECT_EQ(WideIniDocument::SaveBytes(doc), IniTest::Utf16Bytes(L"[S]\r\nk=\xD83D\xDE00"));
}

TEST(IniDocument, Crc16OfValues)
{
    struct Case {
        std::string text;
        uint16_t crc;
    };
    const Case cases[] = {
        {"[Main]\nk=abc", 0x5749},
        {"[Main]\nCRC=12345", 0xFFFF},
        {"k=\xE9", 0xCE81},                              // sign-extended byte
        {"a=1234\n[B]\nb=56789\nCRC=77", 0x4B37},         // the published check value of "123456789"
        {"[Main]\ncrc=1", 0x947E},                        // the skipped name is compared exactly
        {"; comment=abc\nk=a\\#b", 0xC7B8},               // comments do not count; stored value "a#b"
    };
    for (const auto& c : cases) {
        NarrowIniDocument doc;
        IniTest::LoadText(doc, c.text);
        EXPECT_EQ(doc.ComputeCrc16("CRC"), c.crc) << c.text;
    }
}

TEST(IniDocument, LoadStreamAddsWithoutEmptying)
{
    NarrowIniDocument doc;
    IniTest::LoadText(doc, "[Main]\nName=1\n");
    std::istringstream in("x=2\n[Main]\ny=3\n[Next]\nz=4", std::ios::binary);
    Tandry::IniStdIStream stream(in);
    NarrowIniDocument::LoadStream(stream, doc);
    EXPECT_EQ(IniTest::Dump(doc), (Lines{"[Main]", "kName=1", "kx=2", "ky=3", "[Next]", "kz=4"}));
}

TEST(IniStdIStream, StartDropsTwoBytesOnlyWhenAsked)
{
    std::istringstream a("\xFF\xFEk", std::ios::binary);
    Tandry::IniStdIStream withBom(a);
    withBom.Start(true);
    char buffer[8];
    ASSERT_EQ(withBom.Read(buffer, sizeof buffer), 1u);
    EXPECT_EQ(buffer[0], 'k');

    std::istringstream b("ab", std::ios::binary);
    Tandry::IniStdIStream without(b);
    without.Start(false);
    EXPECT_EQ(without.Read(buffer, sizeof buffer), 2u);
    EXPECT_FALSE(without.Failed());
    EXPECT_EQ(without.Read(buffer, sizeof buffer), 0u);
}

TEST(IniStdIStream, FailedStreamReadsAsEmpty)
{
    std::istringstream in("k=v");
    in.setstate(std::ios::failbit);
    Tandry::IniStdIStream stream(in);
    stream.Start(true);
    EXPECT_TRUE(stream.Failed());
    NarrowIniDocument doc;
    NarrowIniDocument::LoadStream(stream, doc);
    EXPECT_EQ(doc.GetSectionCount(), 0u);
}

} // namespace
