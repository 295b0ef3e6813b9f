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
IniGrammar<Char>::IniGrammar(IniDocument<Char>& doc) : mDoc(doc)
{
}

template <typename Char>
void IniGrammar<Char>::FeedBytes(const uint8_t* data, size_t size)
{
    for (size_t i = 0; i < size; ++i, ++mBytesSeen) {
        if constexpr (sizeof(Char) == 1) {
            Feed(static_cast<Char>(data[i]));
        } else {
            if (mBytesSeen < 2)
                continue;  // the byte-order mark, whatever it holds
            if (!mHaveLowByte) {
                mLowByte = data[i];
                mHaveLowByte = true;
            } else {
                Feed(static_cast<Char>(mLowByte | (data[i] << 8)));
                mHaveLowByte = false;
            }
        }
    }
}

template <typename Char>
void IniGrammar<Char>::Feed(Char c)
{
    NoteLineEnding(c);
    if (mJoinSkipArmed) {
        mJoinSkipArmed = false;
        if (c == mJoinSkip)
            return;  // the second half of a line ending that a backslash joined
    }
    Dispatch(c);
}

// The first CR or LF of the input sets the document's line ending; the other
// one directly after it makes it a pair.
template <typename Char>
void IniGrammar<Char>::NoteLineEnding(Char c)
{
    if (mPairPossible) {
        mPairPossible = false;
        if (c == mPairCandidate) {
            mFileLineEnding += c;
            mDoc.mLineEnding = mFileLineEnding;
        }
    } else if (mFileLineEnding.empty() && IsLineEnd(c)) {
        mFileLineEnding = String(1, c);
        mDoc.mLineEnding = mFileLineEnding;
        mPairPossible = true;
        mPairCandidate = c == Char('\r') ? Char('\n') : Char('\r');
    }
}

template <typename Char>
void IniGrammar<Char>::Dispatch(Char c)
{
    switch (mState) {
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
            mState = State::Start;
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
    if (mFileLineEnding.size() == 2 && c == mFileLineEnding[0]) {
        mJoinSkipArmed = true;
        mJoinSkip = mFileLineEnding[1];
    } else if (mPairPossible) {
        // This very character is the first line ending of the input; its
        // partner, if it follows, belongs to the join too.
        mJoinSkipArmed = true;
        mJoinSkip = mPairCandidate;
    }
}

template <typename Char>
void IniGrammar<Char>::EndLine()
{
    mLineHasEntry = false;
    mClosedBlockFlags = nullptr;
}

template <typename Char>
void IniGrammar<Char>::BeginEntry()
{
    if (mClosedBlockFlags) {
        *mClosedBlockFlags |= IniCommentFlag::TextFollows;
        mClosedBlockFlags = nullptr;
    }
    mLineHasEntry = true;
}

template <typename Char>
void IniGrammar<Char>::BeginKey()
{
    BeginEntry();
    mName.Clear();
    mValue.Clear();
    mState = State::KeyName;
}

template <typename Char>
void IniGrammar<Char>::BeginComment(const String& opener, State state)
{
    mCommentFlags = mLineHasEntry ? 0 : IniCommentFlag::OwnLine;
    BeginEntry();
    mComment = opener;
    mStarPending = false;
    mEscapePending = false;
    mState = state;
}

// A character that a backslash or a '/' before it waits for.
template <typename Char>
bool IniGrammar<Char>::TakePending(Char c)
{
    if (mEscapePending)
        OnEscaped(c);
    else if (mSlashPending)
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
        mName.Clear();
        mState = State::Header;
        break;
    case Char('#'):
    case Char(';'):
        BeginComment(String(1, c), State::LineComment);
        break;
    case Char('/'):
        mSlashPending = true;
        break;
    case Char('\\'):
        mEscapePending = true;
        break;
    case Char('='):
        BeginKey();
        mState = State::Value;
        break;
    default:
        BeginKey();
        mName.Add(c, false);
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
        mState = State::Start;
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
        mSlashPending = true;
        return;
    case Char('\\'):
        mEscapePending = true;
        return;
    default:
        break;
    }
    if (mState == State::Header && c == Char(']')) {
        StoreEntryInProgress();
        mState = State::RestOfHeaderLine;
    } else if (mState == State::KeyName && c == Char('=')) {
        mState = State::Value;
    } else {
        CurrentField().Add(c, false);
    }
}

// The character after a backslash.
template <typename Char>
void IniGrammar<Char>::OnEscaped(Char c)
{
    mEscapePending = false;
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
    if (mState == State::Start)
        BeginKey();
    CurrentField().Add(unescaped, true);
}

// The character after a '/' outside comments.
template <typename Char>
void IniGrammar<Char>::OnSlash(Char c)
{
    mSlashPending = false;
    if (c == Char('/') || c == Char('*')) {
        StoreEntryInProgress();
        BeginComment(Opener<Char>('/', char(c)),
                     c == Char('/') ? State::LineComment : State::BlockComment);
        return;
    }
    if (mState == State::Start)
        BeginKey();
    CurrentField().Add(Char('/'), false);
    Dispatch(c);
}

// Inside "#", ";" and "//" comments every character is kept as read, except
// that a backslash before a line ending joins the next line.
template <typename Char>
void IniGrammar<Char>::OnLineComment(Char c)
{
    if (mEscapePending) {
        mEscapePending = false;
        if (IsLineEnd(c)) {
            Join(c);
            return;
        }
        mComment += Char('\\');
    }
    if (c == Char('\\')) {
        mEscapePending = true;
    } else if (IsLineEnd(c)) {
        StoreComment();
        mState = State::Start;
        EndLine();
    } else {
        mComment += c;
    }
}

template <typename Char>
void IniGrammar<Char>::OnBlockComment(Char c)
{
    mComment += c;
    if (mStarPending && c == Char('/')) {
        StoreComment();
        mState = State::Start;
        return;
    }
    mStarPending = c == Char('*');
}

template <typename Char>
auto IniGrammar<Char>::Target() -> Section&
{
    if (!mCurrent) {
        if (mDoc.mSections.empty())
            mCurrent = mDoc.AppendSection(String());
        else
            mCurrent = mDoc.mSections.back().get();
    }
    return *mCurrent;
}

template <typename Char>
void IniGrammar<Char>::StoreEntryInProgress()
{
    if (mState == State::Header) {
        // A header whose name exists already is dropped; what follows it
        // goes on into the section read last.
        if (Section* added = mDoc.AppendSection(mName.Trimmed(true)))
            mCurrent = added;
    } else if (mState == State::KeyName || mState == State::Value) {
        mDoc.AppendEntry(Target(), IniKind::Key, mName.Trimmed(false), mValue.Trimmed(true), 0);
    }
}

template <typename Char>
void IniGrammar<Char>::StoreComment()
{
    auto* entry = mDoc.AppendEntry(Target(), IniKind::Comment, mComment, String(), mCommentFlags);
    mClosedBlockFlags = mState == State::BlockComment ? &entry->flags : nullptr;
}

template <typename Char>
void IniGrammar<Char>::Finish()
{
    // What a pending backslash or '/' would have started is kept literally.
    if (mState == State::Start && (mEscapePending || mSlashPending)) {
        BeginKey();
        mName.Add(mEscapePending ? Char('\\') : Char('/'), false);
    } else if (mState == State::Header || mState == State::KeyName || mState == State::Value) {
        if (mSlashPending)
            CurrentField().Add(Char('/'), false);
        if (mEscapePending)
            CurrentField().Add(Char('\\'), false);
    } else if (mState == State::LineComment && mEscapePending) {
        mComment += Char('\\');
    }
    mEscapePending = false;
    mSlashPending = false;

    switch (mState) {
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
    mState = State::Start;
    mClosedBlockFlags = nullptr;
}

template class IniGrammar<char>;
template class IniGrammar<wchar_t>;

} // namespace Tandry
