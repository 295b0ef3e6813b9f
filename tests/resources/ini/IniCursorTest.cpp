#include "resources/ini/IniCursor.h"

#include "resources/ini/IniDocument.h"
#include "resources/ini/IniDocumentDump.h"

#include "platform/debug/DebugOutput.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Tandry::NarrowIniDocument;
using Lines = std::vector<std::string>;
namespace Kind = Tandry::IniKind;

const char* const kSmall = "[A]\nk1=1\n; c1\nk2=2\n[B]\n[C]\nk3=3\n";

// The names of the entries a walk visits, with a prefix for their kind.
Lines Walk(NarrowIniDocument::Cursor cursor)
{
    Lines seen;
    while (const int kind = cursor.Next())
        seen.push_back((kind == Kind::Section ? "s:" : kind == Kind::Key ? "k:" : "c:") + cursor.GetKeyName());
    return seen;
}

std::string Describe(const NarrowIniDocument::Cursor& cursor)
{
    if (cursor == NarrowIniDocument::End())
        return "end";
    return std::to_string(cursor.GetKind()) + ":" + cursor.GetKeyName();
}

class IniCursorTest : public testing::Test {
protected:
    void SetUp() override { IniTest::LoadText(mDoc, kSmall); }
    NarrowIniDocument mDoc;
};

TEST_F(IniCursorTest, WalksVisitTheKindsOfTheirMask)
{
    struct Case {
        const char* start;
        int mask;
        Lines expected;
    };
    const Case cases[] = {
        {"A", 2, {"k:k1", "k:k2", "k:k3"}},
        {"A", 10, {"k:k1", "k:k2"}},
        {"A", 14, {"k:k1", "c:; c1", "k:k2"}},
        {"B", 10, {}},
        {"B", 2, {"k:k3"}},
        {"A", 7, {"k:k1", "c:; c1", "k:k2", "s:B", "s:C", "k:k3"}},
        {"A", 1, {"s:B", "s:C"}},
        {"C", 14, {"k:k3"}},
    };
    for (const auto& c : cases) {
        auto cursor = mDoc.FindSection(c.start);
        cursor.SetMask(c.mask);
        EXPECT_EQ(Walk(cursor), c.expected) << c.start << " mask " << c.mask;
    }
}

TEST_F(IniCursorTest, FinishedWalkStandsAtTheEndAndStaysThere)
{
    auto cursor = mDoc.FindSection("C");
    cursor.SetMask(10);
    EXPECT_EQ(cursor.Next(), Kind::Key);
    EXPECT_EQ(cursor.Next(), Kind::None);
    EXPECT_TRUE(cursor == NarrowIniDocument::End());
    EXPECT_EQ(cursor.Next(), Kind::None);
    EXPECT_FALSE(NarrowIniDocument::End() == NarrowIniDocument::NotFound());
}

TEST_F(IniCursorTest, EraseAnswersWhatFollowsInTheCursorsMask)
{
    struct Case {
        const char* section;
        const char* key;  // null: erase the section itself
        int mask;
        std::string answer;
        Lines after;
    };
    const Case cases[] = {
        {"A", "k1", 14, "4:; c1", {"[A]", "c; c1", "kk2=2", "[B]", "[C]", "kk3=3"}},
        {"A", "k2", 14, "end", {"[A]", "kk1=1", "c; c1", "[B]", "[C]", "kk3=3"}},
        {"A", "k2", 7, "1:B", {"[A]", "kk1=1", "c; c1", "[B]", "[C]", "kk3=3"}},
        {"A", "k2", 2, "2:k3", {"[A]", "kk1=1", "c; c1", "[B]", "[C]", "kk3=3"}},
        {"A", nullptr, 7, "1:B", {"[B]", "[C]", "kk3=3"}},
        {"B", nullptr, 2, "2:k3", {"[A]", "kk1=1", "c; c1", "kk2=2", "[C]", "kk3=3"}},
        {"C", nullptr, 7, "end", {"[A]", "kk1=1", "c; c1", "kk2=2", "[B]"}},
    };
    for (const auto& c : cases) {
        NarrowIniDocument fresh;
        IniTest::LoadText(fresh, kSmall);
        auto target = c.key ? fresh.FindKey(c.section, c.key) : fresh.FindSection(c.section);
        target.SetMask(c.mask);
        const auto answer = fresh.Erase(target);
        EXPECT_EQ(Describe(answer), c.answer) << c.section << " " << (c.key ? c.key : "");
        EXPECT_EQ(IniTest::Dump(fresh), c.after) << c.section << " " << (c.key ? c.key : "");
        // The lookups forget the erased item too.
        if (c.key)
            EXPECT_FALSE(fresh.HasKey(c.section, c.key));
        else
            EXPECT_TRUE(fresh.FindSection(c.section) == NarrowIniDocument::NotFound());
    }
}

TEST_F(IniCursorTest, EraseInAWalkRemovesEveryKeyItVisits)
{
    auto cursor = mDoc.Begin(2);
    cursor.Next();
    while (cursor.GetKind() != Kind::None)
        cursor = mDoc.Erase(cursor);
    EXPECT_EQ(IniTest::Dump(mDoc), (Lines{"[A]", "c; c1", "[B]", "[C]"}));
}

TEST_F(IniCursorTest, StaleCursorEndsInsteadOfWalkingFreedEntries)
{
    auto stale = mDoc.FindKey("A", "k2");
    mDoc.Erase(mDoc.FindSection("A"));
    EXPECT_EQ(stale.Next(), Kind::None);
    EXPECT_TRUE(mDoc.Erase(mDoc.FindKey("A", "k2")) == NarrowIniDocument::NotFound());
}

TEST_F(IniCursorTest, AddSectionFindsOrInsertsAfterThePosition)
{
    const auto x = mDoc.AddSection("X", mDoc.FindSection("A"));
    EXPECT_EQ(x.GetSectionIndex(), 1);
    EXPECT_EQ(x.GetKeyName(), "X");
    mDoc.AddSection("Y");
    mDoc.AddSection("Z", NarrowIniDocument::NotFound());
    const auto b = mDoc.AddSection("b", mDoc.FindSection("C"));
    EXPECT_EQ(b.GetKeyName(), "B");
    EXPECT_EQ(b.GetSectionIndex(), 2);
    EXPECT_TRUE(mDoc.FindOrAddSection("c") == mDoc.FindSection("C"));
    EXPECT_EQ(IniTest::Dump(mDoc), (Lines{"[A]", "kk1=1", "c; c1", "kk2=2", "[X]", "[B]", "[C]", "kk3=3", "[Y]", "[Z]"}));
}

TEST(IniCursor, LookupsIgnoreTheCaseOfAsciiLettersOnly)
{
    NarrowIniDocument doc;
    IniTest::LoadText(doc, "[Interface]\nTitle=t\n[\xC9t\xE9]\nk=1");
    const auto section = doc.FindSection("interface");
    ASSERT_FALSE(section == NarrowIniDocument::NotFound());
    EXPECT_EQ(section.GetKeyName(), "Interface");
    EXPECT_EQ(doc.FindKey("INTERFACE", "tItLe").GetValue(), "t");
    EXPECT_TRUE(doc.HasKey("\xC9T\xC9", "K") == false);
    EXPECT_TRUE(doc.HasKey("\xC9t\xE9", "K"));
    EXPECT_TRUE(doc.FindSection("Missing") == NarrowIniDocument::NotFound());
    EXPECT_TRUE(doc.FindKey("Missing", "Title") == NarrowIniDocument::NotFound());
}

TEST_F(IniCursorTest, AddKeyFindsOrInsertsAtThePosition)
{
    const auto a = mDoc.FindSection("A");
    mDoc.AddKey(a, "after1", "v", mDoc.FindKey("A", "k1"));
    mDoc.AddKey(a, "first", "v", a);
    mDoc.AddKey(a, "last", "v", mDoc.FindKey("C", "k3"));
    const auto existing = mDoc.AddKey(a, "K2", "other");
    EXPECT_EQ(existing.GetValue(), "2");
    mDoc.FindOrAddKey(mDoc.FindSection("B"), "empty");
    mDoc.FindOrAddKey(a, "k1").SetValue("changed");
    EXPECT_EQ(IniTest::Dump(mDoc), (Lines{"[A]", "kfirst=v", "kk1=changed", "kafter1=v", "c; c1", "kk2=2",
                                         "klast=v", "[B]", "kempty=", "[C]", "kk3=3"}));
}

TEST_F(IniCursorTest, AddKeyRefusesNamesTheFileCannotHold)
{
    std::string debug;
    Platform::SetDebugSink([&](const std::string& text) { debug += text; });
    const auto a = mDoc.FindSection("A");
    EXPECT_TRUE(mDoc.AddKey(a, "a=b", "v") == NarrowIniDocument::NotFound());
    EXPECT_TRUE(mDoc.AddKey(a, "[x", "v") == NarrowIniDocument::NotFound());
    EXPECT_TRUE(mDoc.FindOrAddKey(a, "=") == NarrowIniDocument::NotFound());
    EXPECT_FALSE(debug.empty());
    EXPECT_FALSE(mDoc.AddKey(a, "x[", "v") == NarrowIniDocument::NotFound());
    EXPECT_TRUE(mDoc.AddKey(NarrowIniDocument::NotFound(), "k", "v") == NarrowIniDocument::NotFound());
    Platform::SetDebugSink({});
}

} // namespace
