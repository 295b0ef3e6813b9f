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
    Field& CurrentField() { return state_ == State::Value ? value_ : name_; }

    Document& doc_;
    Section* current_ = nullptr;
    State state_ = State::Start;
    Field name_;
    Field value_;
    String comment_;
    int commentFlags_ = 0;
    bool escapePending_ = false;  // a backslash waits for the character after it
    bool slashPending_ = false;   // a '/' waits: "//" and "/*" open comments
    bool starPending_ = false;    // in a block comment, the last character was '*'
    bool lineHasEntry_ = false;
    int* closedBlockFlags_ = nullptr;  // a block comment that closed on this line

    String fileLineEnding_;
    bool pairPossible_ = false;
    Char pairCandidate_ = 0;
    bool joinSkipArmed_ = false;
    Char joinSkip_ = 0;

    size_t bytesSeen_ = 0;
    bool haveLowByte_ = false;
    uint8_t lowByte_ = 0;
};

extern template class IniGrammar<char>;
extern template class IniGrammar<wchar_t>;

} // namespace Tandry
