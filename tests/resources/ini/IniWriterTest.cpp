#include "resources/ini/IniWriter.h"

#include "resources/ini/IniDocument.h"
#include "resources/ini/IniDocumentDump.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

using Tandry::NarrowIniDocument;
using Tandry::WideIniDocument;
using Lines = std::vector<std::string>;

std::string Printable(const std::string& bytes)
{
    std::string out;
    for (const unsigned char c : bytes) {
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            out += char(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
    }
    return out;
}

// Saves, loads the bytes again, and checks that the same document came back,
// with the same CRC, and that saving it again gives the same bytes. (A block
// comment holding a line break other than the document's own, placed before
// every other line break, sets the line ending of the reloaded document.)
template <typename Char>
void ExpectRoundTrip(Tandry::IniDocument<Char>& doc)
{
    using Document = Tandry::IniDocument<Char>;
    const std::string bytes = Document::SaveBytes(doc);
    Document again;
    Document::LoadBytes(bytes.data(), bytes.size(), again);
    EXPECT_EQ(IniTest::Dump(again), IniTest::Dump(doc)) << Printable(bytes);
    if constexpr (std::is_same_v<Char, char>) {
        EXPECT_EQ(again.ComputeCrc16("CRC"), doc.ComputeCrc16("CRC")) << Printable(bytes);
    }
    if (again.GetLineEnding() == doc.GetLineEnding()) {
        EXPECT_EQ(Document::SaveBytes(again), bytes) << Printable(bytes);
    }
}

TEST(IniWriter, OrdinaryValuesAreWrittenAsBeforeAndOthersEscaped)
{
    const std::pair<std::string, std::string> cases[] = {
        // written exactly as the format always wrote them
        {"plain", "k=plain"},
        {"a#b", "k=a\\#b"},
        {"x;y", "k=x\\;y"},
        {"c:\\dir", "k=c:\\\\dir"},
        {"l1\nl2\r", "k=l1\\nl2\\r"},
        {"a/b*c/", "k=a/b*c/"},
        {"mid blank", "k=mid blank"},
        {"=[]", "k==[]"},
        {"", "k="},
        // what would otherwise read back differently
        {"a//b", "k=a\\//b"},
        {"x/*y*/z", "k=x\\/*y*/z"},
        {"  lead", "k=\\  lead"},
        {"trail\t", "k=trail\\\t"},
        {" ", "k=\\ "},
    };
    for (const auto& [value, line] : cases) {
        NarrowIniDocument doc;
        doc.AddKey(doc.FindOrAddSection("S"), "k", value);
        EXPECT_EQ(NarrowIniDocument::SaveBytes(doc), "[S]\r\n" + line) << Printable(value);
    }
}

TEST(IniWriter, ProfileValuesSurviveSaveAndReloadWithTheirCrc)
{
    const std::vector<std::string> values = {"a//b", "x/*y*/z", "  lead", "trail\t", "http://host/p", "\\", "#;"};
    NarrowIniDocument doc;
    auto main = doc.FindOrAddSection("Main");
    for (size_t i = 0; i < values.size(); ++i)
        doc.AddKey(main, "Key" + std::to_string(i), values[i]);
    doc.AddKey(doc.FindOrAddSection(""), "Unnamed", "last");
    doc.FindOrAddKey(main, "CRC").SetValue(std::to_string(doc.ComputeCrc16("CRC")));

    const std::string bytes = NarrowIniDocument::SaveBytes(doc);
    NarrowIniDocument again;
    IniTest::LoadText(again, bytes);
    std::vector<std::string> read;
    auto cursor = again.FindSection("Main").SetMask(10);
    while (cursor.Next())
        read.push_back(cursor.GetValue());
    read.pop_back();  // the CRC
    EXPECT_EQ(read, values) << Printable(bytes);
    EXPECT_EQ(again.FindKey("", "Unnamed").GetValue(), "last") << Printable(bytes);
    EXPECT_FALSE(again.HasKey("Main", "Unnamed"));
    EXPECT_EQ(again.FindKey("Main", "CRC").GetValue(), std::to_string(again.ComputeCrc16("CRC")));
}

TEST(IniWriter, NamesWithCommentSignsAndBlanksRoundTrip)
{
    NarrowIniDocument doc;
    for (const std::string section : {"S#1;x]", " pad\t", "a//b", "back\\slash", "line\nend"}) {
        auto cursor = doc.FindOrAddSection(section);
        for (const std::string key : {"#k", ";k", "\\k", " k ", "//k", "/*k", "k/", "", "x]y", "a\rb"})
            doc.AddKey(cursor, key, "v");
    }
    ExpectRoundTrip(doc);
    EXPECT_EQ(doc.GetSectionCount(), 5u);
}

TEST(IniWriter, UnnamedSectionKeepsItsPlace)
{
    const char* const cases[] = {
        "[A]\nk=1\n\n[]\nx=2",  // not first: written "[]"
        "[]\n\n[A]\nk=1",       // first but empty: would vanish without a header
        "k=1\n\n[A]\nx=2",      // first with keys: no header, as always
    };
    for (const char* text : cases) {
        NarrowIniDocument doc;
        IniTest::LoadText(doc, text);
        ExpectRoundTrip(doc);
        EXPECT_EQ(NarrowIniDocument::SaveBytes(doc), text);
    }
}

TEST(IniWriter, CommentsKeepTheirTextWhateverFollowsThem)
{
    struct Case {
        const char* text;
        const char* eraseKey;  // in section S, to make two comments meet
        const char* addKey;    // added at the end of section S
        Lines expected;
    };
    const Case cases[] = {
        {"[S ; c]\nk=1", nullptr, nullptr, {"[S]", "c; c]", "kk=1"}},
        {"[S]\n# x\nk=v ; c", "k", nullptr, {"[S]", "c# x", "c; c"}},
        {"[S]\nk=v /* b */\n/* c */ x=1", "x", nullptr, {"[S]", "kk=v", "c/* b */", "c/* c */"}},
        {"/* a */ [S]\nk=1", nullptr, nullptr, {"[]", "c/* a */", "[S]", "kk=1"}},
        // texts that only the end of a file can give, then something after them
        {"[S]\n; ends in \\", nullptr, "added", {"[S]", "c; ends in \\", "kadded="}},
        {"; first line \\", nullptr, "added", {"[]", "c; first line \\", "[S]", "kadded="}},
        {"\n; mixed first \\\\\r\nx=1", nullptr, nullptr, {"[]", "c; mixed first \\", "kx=1"}},
        {"k=1\n; mixed \\\\\r\nx=1", nullptr, nullptr, {"[]", "kk=1", "c; mixed \\", "kx=1"}},
        {"[S]\n/* never closed", nullptr, "added", {"[S]", "c/* never closed*/", "kadded="}},
        {"[S]\n/* never closed *", nullptr, "added", {"[S]", "c/* never closed **/", "kadded="}},
        {"[S]\nk=ends in slash/ // c", nullptr, nullptr, {"[S]", "kk=ends in slash/", "c// c"}},
    };
    for (const auto& c : cases) {
        NarrowIniDocument doc;
        IniTest::LoadText(doc, c.text);
        if (c.eraseKey)
            doc.Erase(doc.FindKey("S", c.eraseKey));
        if (c.addKey)
            doc.FindOrAddKey(doc.FindOrAddSection("S"), c.addKey);
        const std::string bytes = NarrowIniDocument::SaveBytes(doc);
        NarrowIniDocument again;
        IniTest::LoadText(again, bytes);
        EXPECT_EQ(IniTest::Dump(again), c.expected) << c.text << " -> " << Printable(bytes);
        ExpectRoundTrip(again);
    }
}

// Documents built and changed through the interface, from texts rich in the
// characters the grammar gives a meaning to, must come back unchanged.
template <typename Char>
class RandomDocuments {
public:
    using Document = Tandry::IniDocument<Char>;
    using String = std::basic_string<Char>;

    RandomDocuments(uint32_t seed, std::vector<Char> alphabet) : mRng(seed), mAlphabet(std::move(alphabet)) {}

    String Text(size_t maxLength)
    {
        String text;
        const size_t n = Below(maxLength + 1);
        for (size_t i = 0; i < n; ++i)
            text += mAlphabet[Below(mAlphabet.size())];
        return text;
    }

    // A random section, or a random key or comment in it.
    typename Document::Cursor Pick(Document& doc, bool entry)
    {
        if (doc.GetSectionCount() == 0)
            return Document::End();
        auto cursor = doc.Begin(Tandry::IniKind::Section);
        for (size_t i = Below(doc.GetSectionCount()); i > 0; --i)
            cursor.Next();
        const size_t entries = doc.GetSection(size_t(cursor.GetSectionIndex())).entries.size();
        if (entry && entries) {
            cursor.SetMask(14);
            for (size_t i = Below(entries) + 1; i > 0; --i)
                cursor.Next();
        }
        return cursor;
    }

    void Build(Document& doc)
    {
        if (Below(2)) {
            // The suffix closes what only the end of a file can leave open (a
            // block comment, a comment ending in a backslash); those forms
            // cannot be kept exactly once something follows them.
            std::string bytes;
            String text = Text(60);
            for (const char c : std::string("\n*/\n#end"))
                text += Char(c);
            for (const Char c : text) {
                bytes += char(uint32_t(c) & 0xFF);
                if (sizeof(Char) > 1)
                    bytes += char((uint32_t(c) >> 8) & 0xFF);
            }
            if (sizeof(Char) > 1)
                bytes.insert(0, "\xFF\xFE");
            Document::LoadBytes(bytes.data(), bytes.size(), doc);
        }
        for (size_t ops = Below(16); ops > 0; --ops) {
            switch (Below(5)) {
            case 0:
                doc.AddSection(Text(6), Below(2) ? Pick(doc, false) : Document::End());
                break;
            case 1:
            case 2: {
                const auto section = Pick(doc, false);
                doc.AddKey(section, Text(6), Text(10), Below(2) ? Pick(doc, true) : Document::End());
                break;
            }
            case 3:
                doc.Erase(Pick(doc, Below(4) != 0));
                break;
            default: {
                const auto cursor = Pick(doc, true);
                cursor.SetValue(Text(10));
                break;
            }
            }
        }
    }

private:
    size_t Below(size_t n) { return size_t(mRng() % n); }

    std::mt19937 mRng;
    std::vector<Char> mAlphabet;
};

// Builds and checks 3000 documents from the signs of the format plus the
// given characters outside ASCII.
template <typename Char>
void ExpectRandomDocumentsRoundTrip(uint32_t seed, std::initializer_list<int> beyondAscii)
{
    std::vector<Char> alphabet;
    for (const char c : std::string("/*#;\\=[] \t\r\nnra"))
        alphabet.push_back(Char(c));
    for (const int c : beyondAscii)
        alphabet.push_back(Char(c));
    RandomDocuments<Char> random(seed, alphabet);
    for (int i = 0; i < 3000 && !testing::Test::HasFailure(); ++i) {
        Tandry::IniDocument<Char> doc;
        random.Build(doc);
        ExpectRoundTrip(doc);
    }
}

TEST(IniWriter, RandomNarrowDocumentsRoundTrip)
{
    ExpectRandomDocumentsRoundTrip<char>(20260, {0x80, 0xE9, 0xFF, 0x00});
}

TEST(IniWriter, RandomWideDocumentsRoundTrip)
{
    ExpectRandomDocumentsRoundTrip<wchar_t>(7, {0x80, 0xE9, 0x4E2D, 0xD800, 0xFEFF, 0xFFFF, 0x0A0D});
}

} // namespace
