// The one grammar of IniDocument: turns the characters of an ini file, fed one
// at a time, into sections, keys and comments. It has no error state: every
// input gives some document, and it keeps no state outside the object, so any
// number of documents can be read at once on different threads.
#pragma once

#include "resources/ini/IniDocument.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace Tandry {

template <typename Char>
class IniGrammar {
public:
    // Adds what it reads to the document (to its last section until a
    // section header comes).
    explicit IniGrammar(IniDocument<Char>& doc);

    // The raw bytes of a file: one character per byte for narrow documents;
    // for wide ones the first two bytes (the byte-order mark) are dropped and
    // every further pair is one little-endian unit. May be called repeatedly.
    void FeedBytes(const uint8_t* data, size_t size);
    void Feed(Char c);
    // Stores the entry that the end of the input cut short.
    void Finish();

private:
    using String = std::basic_string<Char>;
    using Document = IniDocument<Char>;
    using Section = typename Document::Section;

    enum class State { Start, Header, RestOfHeaderLine, KeyName, Value, LineComment, BlockComment };

    // A name or value being read. Blanks that came from an escape are never
    // trimmed, so the writer can keep leading and trailing blanks.
    struct Field {
        String text;
        size_t firstEscaped = String::npos;
        size_t escapedEnd = 0;

        void Add(Char c, bool escaped);
        String Trimmed(bool front) const;
        void Clear();
    };

    void NoteLineEnding(Char c);
    void Dispatch(Char c);
    void OnStart(Char c);
    void OnField(Char c);
    void OnLineComment(Char c);
    void OnBlockComment(Char c);
    bool TakePending(Char c);
    void OnEscaped(Char c);
    void OnSlash(Char c);

    void Join(Char c);
    void EndLine();
    void BeginEntry();
    void BeginKey();
    void BeginComment(const String& opener, State state);
    void StoreEntryInProgress();
    void StoreComment();
    Section& Target();
    Field& CurrentField() { return mState == State::Value ? mValue : mName; }

    Document& mDoc;
    Section* mCurrent = nullptr;
    State mState = State::Start;
    Field mName;
    Field mValue;
    String mComment;
    int mCommentFlags = 0;
    bool mEscapePending = false;  // a backslash waits for the character after it
    bool mSlashPending = false;   // a '/' waits: "//" and "/*" open comments
    bool mStarPending = false;    // in a block comment, the last character was '*'
    bool mLineHasEntry = false;
    int* mClosedBlockFlags = nullptr;  // a block comment that closed on this line

    String mFileLineEnding;
    bool mPairPossible = false;
    Char mPairCandidate = 0;
    bool mJoinSkipArmed = false;
    Char mJoinSkip = 0;

    size_t mBytesSeen = 0;
    bool mHaveLowByte = false;
    uint8_t mLowByte = 0;
};

extern template class IniGrammar<char>;
extern template class IniGrammar<wchar_t>;

} // namespace Tandry
