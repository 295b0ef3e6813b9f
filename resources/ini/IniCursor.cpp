#include "resources/ini/IniCursor.h"

#include "resources/ini/IniDocument.h"

namespace Tandry {

template <typename Char>
IniCursor<Char>::IniCursor(IniDocument<Char>* doc, int sectionIndex, int entryIndex, int mask)
    : mDoc(doc), mMask(mask)
{
    StandOn(sectionIndex, entryIndex);
}

template <typename Char>
void IniCursor<Char>::StandOn(int sectionIndex, int entryIndex)
{
    auto& section = *mDoc->mSections[size_t(sectionIndex)];
    mSectionIndex = sectionIndex;
    mEntryIndex = entryIndex;
    if (entryIndex < 0) {
        mKind = IniKind::Section;
        mEntry = &section.header;
        mValue = nullptr;
        return;
    }
    auto& entry = *section.entries[size_t(entryIndex)];
    mKind = entry.kind;
    mEntry = &entry;
    mValue = entry.kind == IniKind::Key ? &entry.value : nullptr;
}

template <typename Char>
void IniCursor<Char>::BecomeEnd()
{
    mKind = IniKind::None;
    mEntry = nullptr;
    mValue = nullptr;
    mSectionIndex = 0;
    mEntryIndex = 0;
}

template <typename Char>
void IniCursor<Char>::GoToNextSection()
{
    const size_t next = size_t(mSectionIndex) + 1;
    if (next >= mDoc->mSections.size() || (mMask & IniKind::WithinSection))
        BecomeEnd();
    else
        StandOn(int(next), -1);
}

template <typename Char>
void IniCursor<Char>::Step()
{
    const auto& entries = mDoc->mSections[size_t(mSectionIndex)]->entries;
    if (mKind == IniKind::Section) {
        if (!entries.empty() && (mMask & (IniKind::Key | IniKind::Comment)))
            StandOn(mSectionIndex, 0);
        else
            GoToNextSection();
        return;
    }
    if (size_t(mEntryIndex) + 1 < entries.size())
        StandOn(mSectionIndex, mEntryIndex + 1);
    else
        GoToNextSection();
}

template <typename Char>
int IniCursor<Char>::Next()
{
    // A stale cursor ends rather than walking freed entries.
    if (mKind == IniKind::None || !mDoc || !mDoc->IsValid(*this)) {
        BecomeEnd();
        return mKind;
    }
    do
        Step();
    while (mKind != IniKind::None && !(mKind & mMask));
    return mKind;
}

template <typename Char>
auto IniCursor<Char>::GetKeyName() const -> String
{
    if (mKind == IniKind::None)
        return String();
    return static_cast<const typename IniDocument<Char>::Entry*>(mEntry)->key;
}

template <typename Char>
auto IniCursor<Char>::GetValue() const -> String
{
    return mValue ? *mValue : String();
}

template <typename Char>
void IniCursor<Char>::SetValue(const String& value) const
{
    if (mValue)
        *mValue = value;
}

template <typename Char>
int IniCursor<Char>::GetFlags() const
{
    if (mKind != IniKind::Comment)
        return 0;
    return static_cast<const typename IniDocument<Char>::Entry*>(mEntry)->flags;
}

template class IniCursor<char>;
template class IniCursor<wchar_t>;

} // namespace Tandry
