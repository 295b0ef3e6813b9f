// A position in an IniDocument, used by its lookups and by walks over its
// sections, keys and comments. Next() stops only on the kinds in the cursor's
// mask; bit 8 keeps a walk inside the section it started in. Like an
// iterator, a cursor is invalidated by adding or erasing in front of it.
#pragma once

#include <string>

namespace Tandry {

template <typename Char>
class IniDocument;

// Entry kinds, and the bit that keeps a walk in its own section.
namespace IniKind {
constexpr int None = 0;
constexpr int Section = 1;
constexpr int Key = 2;
constexpr int Comment = 4;
constexpr int WithinSection = 8;
} // namespace IniKind

// Comment flags.
namespace IniCommentFlag {
constexpr int OwnLine = 1;      // the comment starts its own line
constexpr int TextFollows = 2;  // a block comment with more text after it on its line
} // namespace IniCommentFlag

template <typename Char>
class IniCursor {
public:
    using String = std::basic_string<Char>;

    // Cursors made by lookups walk the keys and comments of their section.
    static constexpr int kDefaultMask = IniKind::Key | IniKind::Comment | IniKind::WithinSection;

    IniCursor() = default;

    // Steps until the cursor stands on an entry whose kind is in the mask, or
    // the walk has ended; answers the kind reached (0 at the end).
    int Next();

    int GetKind() const { return mKind; }
    int GetMask() const { return mMask; }
    IniCursor& SetMask(int mask)
    {
        mMask = mask;
        return *this;
    }
    int GetSectionIndex() const { return mSectionIndex; }
    int GetEntryIndex() const { return mEntryIndex; }

    // The key name, the comment text, or the section name.
    String GetKeyName() const;
    // The value of a key; empty for other kinds.
    String GetValue() const;
    // Replaces the value of a key; does nothing on other kinds.
    void SetValue(const String& value) const;
    // The comment flags (IniCommentFlag); 0 for other kinds.
    int GetFlags() const;

    bool operator==(const IniCursor& other) const
    {
        return mEntry == other.mEntry && mSectionIndex == other.mSectionIndex &&
               mEntryIndex == other.mEntryIndex;
    }

private:
    friend class IniDocument<Char>;

    IniCursor(IniDocument<Char>* doc, int sectionIndex, int entryIndex, int mask);

    void Step();
    void GoToNextSection();
    void StandOn(int sectionIndex, int entryIndex);
    void BecomeEnd();

    IniDocument<Char>* mDoc = nullptr;
    int mKind = IniKind::None;
    // The entry under the cursor (a section's header entry for a section);
    // an opaque pointer so that equality does not need the document type.
    const void* mEntry = nullptr;
    String* mValue = nullptr;
    int mMask = kDefaultMask;
    int mSectionIndex = 0;
    // -1 while the cursor stands on a section header.
    int mEntryIndex = 0;
};

} // namespace Tandry
