#include "resources/ini/IniCursor.h"

#include "resources/ini/IniDocument.h"

namespace Tandry {

template <typename Char>
IniCursor<Char>::IniCursor(IniDocument<Char>* doc, int sectionIndex, int entryIndex, int mask)
    : doc_(doc), mask_(mask)
{
    StandOn(sectionIndex, entryIndex);
}

template <typename Char>
void IniCursor<Char>::StandOn(int sectionIndex, int entryIndex)
{
    auto& section = *doc_->sections_[size_t(sectionIndex)];
    sectionIndex_ = sectionIndex;
    entryIndex_ = entryIndex;
    if (entryIndex < 0) {
        kind_ = IniKind::Section;
        entry_ = &section.header;
        value_ = nullptr;
        return;
    }
    auto& entry = *section.entries[size_t(entryIndex)];
    kind_ = entry.kind;
    entry_ = &entry;
    value_ = entry.kind == IniKind::Key ? &entry.value : nullptr;
}

template <typename Char>
void IniCursor<Char>::BecomeEnd()
{
    kind_ = IniKind::None;
    entry_ = nullptr;
    value_ = nullptr;
    sectionIndex_ = 0;
    entryIndex_ = 0;
}

template <typename Char>
void IniCursor<Char>::GoToNextSection()
{
    const size_t next = size_t(sectionIndex_) + 1;
    if (next >= doc_->sections_.size() || (mask_ & IniKind::WithinSection))
        BecomeEnd();
    else
        StandOn(int(next), -1);
}

template <typename Char>
void IniCursor<Char>::Step()
{
    const auto& entries = doc_->sections_[size_t(sectionIndex_)]->entries;
    if (kind_ == IniKind::Section) {
        if (!entries.empty() && (mask_ & (IniKind::Key | IniKind::Comment)))
            StandOn(sectionIndex_, 0);
        else
            GoToNextSection();
        return;
    }
    if (size_t(entryIndex_) + 1 < entries.size())
        StandOn(sectionIndex_, entryIndex_ + 1);
    else
        GoToNextSection();
}

template <typename Char>
int IniCursor<Char>::Next()
{
    // A stale cursor ends rather than walking freed entries.
    if (kind_ == IniKind::None || !doc_ || !doc_->IsValid(*this)) {
        BecomeEnd();
        return kind_;
    }
    do
        Step();
    while (kind_ != IniKind::None && !(kind_ & mask_));
    return kind_;
}

template <typename Char>
auto IniCursor<Char>::GetKeyName() const -> String
{
    if (kind_ == IniKind::None)
        return String();
    return static_cast<const typename IniDocument<Char>::Entry*>(entry_)->key;
}

template <typename Char>
auto IniCursor<Char>::GetValue() const -> String
{
    return value_ ? *value_ : String();
}

template <typename Char>
void IniCursor<Char>::SetValue(const String& value) const
{
    if (value_)
        *value_ = value;
}

template <typename Char>
int IniCursor<Char>::GetFlags() const
{
    if (kind_ != IniKind::Comment)
        return 0;
    return static_cast<const typename IniDocument<Char>::Entry*>(entry_)->flags;
}

template class IniCursor<char>;
template class IniCursor<wchar_t>;

} // namespace Tandry
