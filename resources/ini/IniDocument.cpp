#include "resources/ini/IniDocument.h"

#include "resources/ini/IniGrammar.h"
#include "resources/ini/IniWriter.h"

#include "platform/debug/DebugOutput.h"

namespace Tandry {

namespace {

template <typename Char>
std::basic_string<Char> DefaultLineEnding()
{
    return {Char('\r'), Char('\n')};
}

} // namespace

template <typename Char>
IniDocument<Char>::IniDocument() : mLineEnding(DefaultLineEnding<Char>())
{
}

template <typename Char>
void IniDocument<Char>::Clear()
{
    mSectionsByName.clear();
    mSections.clear();
    mLineEnding = DefaultLineEnding<Char>();
}

template <typename Char>
void IniDocument<Char>::LoadBytes(const void* data, size_t size, IniDocument& doc)
{
    doc.Clear();
    IniGrammar<Char> grammar(doc);
    grammar.FeedBytes(static_cast<const uint8_t*>(data), size);
    grammar.Finish();
}

template <typename Char>
std::string IniDocument<Char>::SaveBytes(const IniDocument& doc)
{
    return EncodeIniText(WriteIniText(doc));
}

template <typename Char>
bool IniDocument<Char>::IsValid(const Cursor& cursor) const
{
    if (cursor.mDoc != this || cursor.mKind == IniKind::None || cursor.mSectionIndex < 0 ||
        size_t(cursor.mSectionIndex) >= mSections.size())
        return false;
    const Section& section = *mSections[size_t(cursor.mSectionIndex)];
    if (cursor.mEntryIndex < 0)
        return cursor.mEntry == &section.header;
    return size_t(cursor.mEntryIndex) < section.entries.size() &&
           cursor.mEntry == section.entries[size_t(cursor.mEntryIndex)].get();
}

template <typename Char>
auto IniDocument<Char>::Begin(int mask) -> Cursor
{
    if (mSections.empty())
        return End();
    return Cursor(this, 0, -1, mask);
}

template <typename Char>
auto IniDocument<Char>::End() -> Cursor
{
    return Cursor();
}

template <typename Char>
auto IniDocument<Char>::NotFound() -> Cursor
{
    Cursor cursor;
    cursor.mSectionIndex = -1;
    cursor.mEntryIndex = -1;
    return cursor;
}

template <typename Char>
auto IniDocument<Char>::AppendSection(const String& name) -> Section*
{
    if (mSectionsByName.count(name))
        return nullptr;
    auto section = std::make_unique<Section>();
    section->header.kind = IniKind::Section;
    section->header.key = name;
    Section* added = section.get();
    mSections.push_back(std::move(section));
    mSectionsByName.emplace(name, added);
    return added;
}

template <typename Char>
auto IniDocument<Char>::InsertEntry(Section& section, size_t index, int kind, const String& key,
                                    const String& value, int flags) -> Entry*
{
    if (kind == IniKind::Key && section.keys.count(key))
        return nullptr;
    auto entry = std::make_unique<Entry>();
    entry->kind = kind;
    entry->key = key;
    entry->value = value;
    entry->flags = flags;
    Entry* added = entry.get();
    section.entries.insert(section.entries.begin() + std::ptrdiff_t(index), std::move(entry));
    if (kind == IniKind::Key)
        section.keys.emplace(key, added);
    return added;
}

template <typename Char>
auto IniDocument<Char>::AppendEntry(Section& section, int kind, const String& key, const String& value,
                                    int flags) -> Entry*
{
    return InsertEntry(section, section.entries.size(), kind, key, value, flags);
}

template <typename Char>
auto IniDocument<Char>::FindSection(const String& name) -> Cursor
{
    const auto found = mSectionsByName.find(name);
    if (found == mSectionsByName.end())
        return NotFound();
    for (size_t i = 0; i < mSections.size(); ++i) {
        if (mSections[i].get() == found->second)
            return Cursor(this, int(i), -1, Cursor::kDefaultMask);
    }
    return NotFound();
}

template <typename Char>
auto IniDocument<Char>::AddSection(const String& name, const Cursor& position) -> Cursor
{
    const Cursor existing = FindSection(name);
    if (!(existing == NotFound()))
        return existing;
    AppendSection(name);
    size_t index = mSections.size() - 1;
    if (IsValid(position) && size_t(position.mSectionIndex) + 1 < mSections.size()) {
        const size_t target = size_t(position.mSectionIndex) + 1;
        auto added = std::move(mSections.back());
        mSections.pop_back();
        mSections.insert(mSections.begin() + std::ptrdiff_t(target), std::move(added));
        index = target;
    }
    return Cursor(this, int(index), -1, Cursor::kDefaultMask);
}

template <typename Char>
auto IniDocument<Char>::FindOrAddSection(const String& name) -> Cursor
{
    return AddSection(name, End());
}

template <typename Char>
auto IniDocument<Char>::FindKey(const String& section, const String& key) -> Cursor
{
    return FindKeyInSection(FindSection(section), key);
}

template <typename Char>
auto IniDocument<Char>::FindKeyInSection(const Cursor& section, const String& key) -> Cursor
{
    if (!IsValid(section))
        return NotFound();
    const Section& sec = *mSections[size_t(section.mSectionIndex)];
    const auto found = sec.keys.find(key);
    if (found == sec.keys.end())
        return NotFound();
    for (size_t i = 0; i < sec.entries.size(); ++i) {
        if (sec.entries[i].get() == found->second)
            return Cursor(this, section.mSectionIndex, int(i), Cursor::kDefaultMask);
    }
    return NotFound();
}

template <typename Char>
auto IniDocument<Char>::FindOrAddKey(const Cursor& section, const String& key) -> Cursor
{
    return AddKey(section, key, String(), End());
}

template <typename Char>
auto IniDocument<Char>::AddKey(const Cursor& section, const String& key, const String& value,
                               const Cursor& position) -> Cursor
{
    if (!IsValid(section))
        return NotFound();
    // The grammar ends a key name at '=' and starts a section at a leading
    // '[', escaped or not, so such a key would come back as something else.
    if (key.find(Char('=')) != String::npos || (!key.empty() && key[0] == Char('['))) {
        Platform::OutputDebugText("IniDocument: refused a key name holding '=' or starting with '['\n");
        return NotFound();
    }
    const Cursor existing = FindKeyInSection(section, key);
    if (!(existing == NotFound()))
        return existing;

    Section& sec = *mSections[size_t(section.mSectionIndex)];
    size_t index = sec.entries.size();
    if (IsValid(position) && position.mSectionIndex == section.mSectionIndex)
        index = size_t(position.mEntryIndex + 1);
    InsertEntry(sec, index, IniKind::Key, key, value, 0);
    return Cursor(this, section.mSectionIndex, int(index), Cursor::kDefaultMask);
}

template <typename Char>
bool IniDocument<Char>::HasKey(const String& section, const String& key) const
{
    const auto found = mSectionsByName.find(section);
    return found != mSectionsByName.end() && found->second->keys.count(key) != 0;
}

template <typename Char>
auto IniDocument<Char>::Erase(const Cursor& cursor) -> Cursor
{
    if (!IsValid(cursor))
        return NotFound();
    const size_t si = size_t(cursor.mSectionIndex);
    Cursor result = cursor;

    if (cursor.mEntryIndex < 0) {
        mSectionsByName.erase(mSections[si]->header.key);
        mSections.erase(mSections.begin() + std::ptrdiff_t(si));
        // Continue as a step from the removed section's end would have.
        if (si < mSections.size() && !(cursor.mMask & IniKind::WithinSection))
            result.StandOn(int(si), -1);
        else
            result.BecomeEnd();
    } else {
        Section& section = *mSections[si];
        const size_t ei = size_t(cursor.mEntryIndex);
        if (section.entries[ei]->kind == IniKind::Key)
            section.keys.erase(section.entries[ei]->key);
        section.entries.erase(section.entries.begin() + std::ptrdiff_t(ei));
        if (ei < section.entries.size()) {
            result.StandOn(int(si), int(ei));
        } else {
            result.GoToNextSection();
        }
    }
    if (result.mKind != IniKind::None && !(result.mKind & result.mMask))
        result.Next();
    return result;
}

template class IniDocument<char>;
template class IniDocument<wchar_t>;

} // namespace Tandry
