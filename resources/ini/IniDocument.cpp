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
IniDocument<Char>::IniDocument() : lineEnding_(DefaultLineEnding<Char>())
{
}

template <typename Char>
void IniDocument<Char>::Clear()
{
    sectionsByName_.clear();
    sections_.clear();
    lineEnding_ = DefaultLineEnding<Char>();
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
    if (cursor.doc_ != this || cursor.kind_ == IniKind::None || cursor.sectionIndex_ < 0 ||
        size_t(cursor.sectionIndex_) >= sections_.size())
        return false;
    const Section& section = *sections_[size_t(cursor.sectionIndex_)];
    if (cursor.entryIndex_ < 0)
        return cursor.entry_ == &section.header;
    return size_t(cursor.entryIndex_) < section.entries.size() &&
           cursor.entry_ == section.entries[size_t(cursor.entryIndex_)].get();
}

template <typename Char>
auto IniDocument<Char>::Begin(int mask) -> Cursor
{
    if (sections_.empty())
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
    cursor.sectionIndex_ = -1;
    cursor.entryIndex_ = -1;
    return cursor;
}

template <typename Char>
auto IniDocument<Char>::AppendSection(const String& name) -> Section*
{
    if (sectionsByName_.count(name))
        return nullptr;
    auto section = std::make_unique<Section>();
    section->header.kind = IniKind::Section;
    section->header.key = name;
    Section* added = section.get();
    sections_.push_back(std::move(section));
    sectionsByName_.emplace(name, added);
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
    const auto found = sectionsByName_.find(name);
    if (found == sectionsByName_.end())
        return NotFound();
    for (size_t i = 0; i < sections_.size(); ++i) {
        if (sections_[i].get() == found->second)
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
    size_t index = sections_.size() - 1;
    if (IsValid(position) && size_t(position.sectionIndex_) + 1 < sections_.size()) {
        const size_t target = size_t(position.sectionIndex_) + 1;
        auto added = std::move(sections_.back());
        sections_.pop_back();
        sections_.insert(sections_.begin() + std::ptrdiff_t(target), std::move(added));
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
    const Section& sec = *sections_[size_t(section.sectionIndex_)];
    const auto found = sec.keys.find(key);
    if (found == sec.keys.end())
        return NotFound();
    for (size_t i = 0; i < sec.entries.size(); ++i) {
        if (sec.entries[i].get() == found->second)
            return Cursor(this, section.sectionIndex_, int(i), Cursor::kDefaultMask);
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

    Section& sec = *sections_[size_t(section.sectionIndex_)];
    size_t index = sec.entries.size();
    if (IsValid(position) && position.sectionIndex_ == section.sectionIndex_)
        index = size_t(position.entryIndex_ + 1);
    InsertEntry(sec, index, IniKind::Key, key, value, 0);
    return Cursor(this, section.sectionIndex_, int(index), Cursor::kDefaultMask);
}

template <typename Char>
bool IniDocument<Char>::HasKey(const String& section, const String& key) const
{
    const auto found = sectionsByName_.find(section);
    return found != sectionsByName_.end() && found->second->keys.count(key) != 0;
}

template <typename Char>
auto IniDocument<Char>::Erase(const Cursor& cursor) -> Cursor
{
    if (!IsValid(cursor))
        return NotFound();
    const size_t si = size_t(cursor.sectionIndex_);
    Cursor result = cursor;

    if (cursor.entryIndex_ < 0) {
        sectionsByName_.erase(sections_[si]->header.key);
        sections_.erase(sections_.begin() + std::ptrdiff_t(si));
        // Continue as a step from the removed section's end would have.
        if (si < sections_.size() && !(cursor.mask_ & IniKind::WithinSection))
            result.StandOn(int(si), -1);
        else
            result.BecomeEnd();
    } else {
        Section& section = *sections_[si];
        const size_t ei = size_t(cursor.entryIndex_);
        if (section.entries[ei]->kind == IniKind::Key)
            section.keys.erase(section.entries[ei]->key);
        section.entries.erase(section.entries.begin() + std::ptrdiff_t(ei));
        if (ei < section.entries.size()) {
            result.StandOn(int(si), int(ei));
        } else {
            result.GoToNextSection();
        }
    }
    if (result.kind_ != IniKind::None && !(result.kind_ & result.mask_))
        result.Next();
    return result;
}

template class IniDocument<char>;
template class IniDocument<wchar_t>;

} // namespace Tandry
