#include "resources/ini/IniGrammar.h"

#include <algorithm>

namespace Tandry {

namespace {

template <typename Char>
bool IsLineEnd(Char c)
{
    return c == Char('\r') || c == Char('\n');
}

template <typename Char>
bool IsBlank(Char c)
{
    return c == Char(' ') || c == Char('\t');
}

template <typename Char>
std::basic_string<Char> Opener(char a, char b = 0)
{
    std::basic_string<Char> text(1, Char(a));
    if (b)
        text += Char(b);
    return text;
}

} // namespace

template <typename Char>
void IniGrammar<Char>::Field::Add(Char c, bool escaped)
{
    if (escaped) {
        firstEscaped = std::min(firstEscaped, text.size());
        escapedEnd = text.size() + 1;
    }
    text += c;
}

template <typename Char>
auto IniGrammar<Char>::Field::Trimmed(bool front) const -> String
{
    size_t begin = 0;
    size_t end = text.size();
    if (front) {
        const size_t limit = std::min(firstEscaped, end);
        while (begin < limit && IsBlank(text[begin]))
            ++begin;
    }
    while (end > std::max(begin, escapedEnd) && IsBlank(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

template <typename Char>
void IniGrammar<Char>::Field::Clear()
{
    text.clear();
    firstEscaped = String::npos;
    escapedEnd = 0;
}

template <typename Char>
IniGrammar<Char>::IniGrammar(IniDocument<Char>& doc) : doc_(doc)
{
}

template <typename Char>
void IniGrammar<Char>::FeedBytes(const uint8_t* data, size_t size)
{
    for (size_t i = 0; i < size; ++i, ++bytesSeen_) {
        if constexpr (sizeof(Char) == 1) {
            Feed(static_cast<Char>(data[i]));
        } else {
            if (bytesSeen_ < 2)
                continue;  // the byte-order mark, whatever it holds
            if (!haveLowByte_) {
                lowByte_ = data[i];
                haveLowByte_ = true;
            } else {
                Feed(static_cast<Char>(lowByte_ | (data[i] << 8)));
                haveLowByte_ = false;
            }
        }
    }
}

template <typename Char>
void IniGrammar<Char>::Feed(Char c)
{
    NoteLineEnding(c);
    if (joinSkipArmed_) {
        joinSkipArmed_ = false;
        if (c == joinSkip_)
            return;  // the second half of a line ending that a backslash joined
    }
    Dispatch(c);
}

// The first CR or LF of the input sets the document's line ending; the other
// one directly after it makes it a pair.
template <typename Char>
void IniGrammar<Char>::NoteLineEnding(Char c)
{
    if (pairPossible_) {
        pairPossible_ = false;
        if (c == pairCandidate_) {
            fileLineEnding_ += c;
            doc_.lineEnding_ = fileLineEnding_;
        }
    } else if (fileLineEnding_.empty() && IsLineEnd(c)) {
        fileLineEnding_ = String(1, c);
        doc_.lineEnding_ = fileLineEnding_;
        pairPossible_ = true;
        pairCandidate_ = c == Char('\r') ? Char('\n') : Char('\r');
    }
}

template <typename Char>
void IniGrammar<Char>::Dispatch(Char c)
{
    switch (state_) {
    case State::Start:
        OnStart(c);
        break;
    case State::Header:
    case State::KeyName:
    case State::Value:
        OnField(c);
        break;
    case State::RestOfHeaderLine:
        if (IsLineEnd(c)) {
            state_ = State::Start;
            EndLine();
        }
        break;
    case State::LineComment:
        OnLineComment(c);
        break;
    case State::BlockComment:
        OnBlockComment(c);
        break;
    }
}

// A backslash before a line ending drops that line ending, one or two
// characters as the document's line ending has them.
template <typename Char>
void IniGrammar<Char>::Join(Char c)
{
    if (fileLineEnding_.size() == 2 && c == fileLineEnding_[0]) {
        joinSkipArmed_ = true;
        joinSkip_ = fileLineEnding_[1];
    } else if (pairPossible_) {
        // This very character is the first line ending of the input; its
        // partner, if it follows, belongs to the join too.
        joinSkipArmed_ = true;
        joinSkip_ = pairCandidate_;
    }
}

template <typename Char>
void IniGrammar<Char>::EndLine()
{
    lineHasEntry_ = false;
    closedBlockFlags_ = nullptr;
}

template <typename Char>
void IniGrammar<Char>::BeginEntry()
{
    if (closedBlockFlags_) {
        *closedBlockFlags_ |= IniCommentFlag::TextFollows;
        closedBlockFlags_ = nullptr;
    }
    lineHasEntry_ = true;
}

template <typename Char>
void IniGrammar<Char>::BeginKey()
{
    BeginEntry();
    name_.Clear();
    value_.Clear();
    state_ = State::KeyName;
}

template <typename Char>
void IniGrammar<Char>::BeginComment(const String& opener, State state)
{
    commentFlags_ = lineHasEntry_ ? 0 : IniCommentFlag::OwnLine;
    BeginEntry();
    comment_ = opener;
    starPending_ = false;
    escapePending_ = false;
    state_ = state;
}

// A character that a backslash or a '/' before it waits for.
template <typename Char>
bool IniGrammar<Char>::TakePending(Char c)
{
    if (escapePending_)
        OnEscaped(c);
    else if (slashPending_)
        OnSlash(c);
    else
        return false;
    return true;
}

template <typename Char>
void IniGrammar<Char>::OnStart(Char c)
{
    if (TakePending(c))
        return;
    if (IsBlank(c))
        return;
    if (IsLineEnd(c)) {
        EndLine();
        return;
    }
    switch (c) {
    case Char('['):
        BeginEntry();
        name_.Clear();
        state_ = State::Header;
        break;
    case Char('#'):
    case Char(';'):
        BeginComment(String(1, c), State::LineComment);
        break;
    case Char('/'):
        slashPending_ = true;
        break;
    case Char('\\'):
        escapePending_ = true;
        break;
    case Char('='):
        BeginKey();
        state_ = State::Value;
        break;
    default:
        BeginKey();
        name_.Add(c, false);
        break;
    }
}

// A section name, a key name or a value.
template <typename Char>
void IniGrammar<Char>::OnField(Char c)
{
    if (TakePending(c))
        return;
    if (IsLineEnd(c)) {
        StoreEntryInProgress();
        state_ = State::Start;
        EndLine();
        return;
    }
    switch (c) {
    case Char('#'):
    case Char(';'):
        StoreEntryInProgress();
        BeginComment(String(1, c), State::LineComment);
        return;
    case Char('/'):
        slashPending_ = true;
        return;
    case Char('\\'):
        escapePending_ = true;
        return;
    default:
        break;
    }
    if (state_ == State::Header && c == Char(']')) {
        StoreEntryInProgress();
        state_ = State::RestOfHeaderLine;
    } else if (state_ == State::KeyName && c == Char('=')) {
        state_ = State::Value;
    } else {
        CurrentField().Add(c, false);
    }
}

// The character after a backslash.
template <typename Char>
void IniGrammar<Char>::OnEscaped(Char c)
{
    escapePending_ = false;
    if (IsLineEnd(c)) {
        Join(c);
        return;
    }
    // '=' and '[' keep their meaning after a backslash.
    if (c == Char('=') || c == Char('[')) {
        Dispatch(c);
        return;
    }
    const Char unescaped = c == Char('n') ? Char('\n') : c == Char('r') ? Char('\r') : c;
    if (state_ == State::Start)
        BeginKey();
    CurrentField().Add(unescaped, true);
}

// The character after a '/' outside comments.
template <typename Char>
void IniGrammar<Char>::OnSlash(Char c)
{
    slashPending_ = false;
    if (c == Char('/') || c == Char('*')) {
        StoreEntryInProgress();
        BeginComment(Opener<Char>('/', char(c)),
                     c == Char('/') ? State::LineComment : State::BlockComment);
        return;
    }
    if (state_ == State::Start)
        BeginKey();
    CurrentField().Add(Char('/'), false);
    Dispatch(c);
}

// Inside "#", ";" and "//" comments every character is kept as read, except
// that a backslash before a line ending joins the next line.
template <typename Char>
void IniGrammar<Char>::OnLineComment(Char c)
{
    if (escapePending_) {
        escapePending_ = false;
        if (IsLineEnd(c)) {
            Join(c);
            return;
        }
        comment_ += Char('\\');
    }
    if (c == Char('\\')) {
        escapePending_ = true;
    } else if (IsLineEnd(c)) {
        StoreComment();
        state_ = State::Start;
        EndLine();
    } else {
        comment_ += c;
    }
}

template <typename Char>
void IniGrammar<Char>::OnBlockComment(Char c)
{
    comment_ += c;
    if (starPending_ && c == Char('/')) {
        StoreComment();
        state_ = State::Start;
        return;
    }
    starPending_ = c == Char('*');
}

template <typename Char>
auto IniGrammar<Char>::Target() -> Section&
{
    if (!current_) {
        if (doc_.sections_.empty())
            current_ = doc_.AppendSection(String());
        else
            current_ = doc_.sections_.back().get();
    }
    return *current_;
}

template <typename Char>
void IniGrammar<Char>::StoreEntryInProgress()
{
    if (state_ == State::Header) {
        // A header whose name exists already is dropped; what follows it
        // goes on into the section read last.
        if (Section* added = doc_.AppendSection(name_.Trimmed(true)))
            current_ = added;
    } else if (state_ == State::KeyName || state_ == State::Value) {
        doc_.AppendEntry(Target(), IniKind::Key, name_.Trimmed(false), value_.Trimmed(true), 0);
    }
}

template <typename Char>
void IniGrammar<Char>::StoreComment()
{
    auto* entry = doc_.AppendEntry(Target(), IniKind::Comment, comment_, String(), commentFlags_);
    closedBlockFlags_ = state_ == State::BlockComment ? &entry->flags : nullptr;
}

template <typename Char>
void IniGrammar<Char>::Finish()
{
    // What a pending backslash or '/' would have started is kept literally.
    if (state_ == State::Start && (escapePending_ || slashPending_)) {
        BeginKey();
        name_.Add(escapePending_ ? Char('\\') : Char('/'), false);
    } else if (state_ == State::Header || state_ == State::KeyName || state_ == State::Value) {
        if (slashPending_)
            CurrentField().Add(Char('/'), false);
        if (escapePending_)
            CurrentField().Add(Char('\\'), false);
    } else if (state_ == State::LineComment && escapePending_) {
        comment_ += Char('\\');
    }
    escapePending_ = false;
    slashPending_ = false;

    switch (state_) {
    case State::Header:
    case State::KeyName:
    case State::Value:
        StoreEntryInProgress();
        break;
    case State::LineComment:
    case State::BlockComment:
        StoreComment();
        break;
    default:
        break;
    }
    state_ = State::Start;
    closedBlockFlags_ = nullptr;
}

template class IniGrammar<char>;
template class IniGrammar<wchar_t>;

} // namespace Tandry
