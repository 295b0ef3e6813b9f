// An ini document that keeps a file as it was written: sections, keys and
// comments in file order and the file's own line ending, so that a profile,
// "settings.ini" or the language table can be loaded, changed and saved
// without losing comments or layout. IniDocument<char> holds 8-bit files (the
// profiles, "res\\game.ini"), IniDocument<wchar_t> UTF-16 files, one wchar_t
// per 16-bit unit. Both share one grammar (IniGrammar) and one writer
// (IniWriter); section and key names are looked up without regard to case.
#pragma once

#include "resources/ini/IniCaseCompare.h"
#include "resources/ini/IniCursor.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace Tandry {

class IniStdIStream;
template <typename Char>
class IniGrammar;

template <typename Char>
class IniDocument {
public:
    using String = std::basic_string<Char>;
    using Cursor = IniCursor<Char>;

    struct Entry {
        int kind = IniKind::None;
        // The key name, the whole comment text with its signs, or the
        // section name for a section's header entry.
        String key;
        String value;
        int flags = 0;  // IniCommentFlag, comments only
    };

    struct Section {
        Entry header;
        std::vector<std::unique_ptr<Entry>> entries;
        std::map<String, Entry*, AsciiCaseLess<Char>> keys;
    };

    IniDocument();
    IniDocument(IniDocument&&) noexcept = default;
    IniDocument& operator=(IniDocument&&) noexcept = default;
    IniDocument(const IniDocument&) = delete;
    IniDocument& operator=(const IniDocument&) = delete;

    // Removes every section; the line ending goes back to CR LF.
    void Clear();

    const String& GetLineEnding() const { return mLineEnding; }
    size_t GetSectionCount() const { return mSections.size(); }
    const Section& GetSection(size_t index) const { return *mSections[index]; }

    // Files, read through the file layer (packs first) and written through the
    // safe write. A load that cannot open its file answers false and changes
    // nothing; otherwise the document is emptied first.
    static bool Load(const std::string& path, IniDocument& doc)
        requires std::is_same_v<Char, char>;
    static bool LoadUtf16(const std::string& path, IniDocument& doc)
        requires std::is_same_v<Char, wchar_t>;
    // Adds 8-bit text from the stream without emptying the document first.
    static void LoadStream(IniStdIStream& stream, IniDocument& doc)
        requires std::is_same_v<Char, char>;
    static bool Save(const std::string& path, const IniDocument& doc)
        requires std::is_same_v<Char, char>;
    static bool SaveUtf16(const std::string& path, const IniDocument& doc)
        requires std::is_same_v<Char, wchar_t>;

    // The same without a file: the bytes of a file as Load/LoadUtf16 read
    // them (for wide documents the first two bytes are the byte-order mark,
    // dropped whatever they hold), and the bytes Save/SaveUtf16 would write.
    static void LoadBytes(const void* data, size_t size, IniDocument& doc);
    static std::string SaveBytes(const IniDocument& doc);

    // A cursor on the first section (End() when the document is empty).
    Cursor Begin(int mask = Cursor::kDefaultMask);
    // Where a finished walk stands; and what failed lookups answer.
    static Cursor End();
    static Cursor NotFound();

    Cursor FindSection(const String& name);
    // Find-or-add: an existing section is returned unchanged; a new one goes
    // after the section of the given position, or at the end.
    Cursor AddSection(const String& name, const Cursor& position = End());
    Cursor FindOrAddSection(const String& name);

    Cursor FindKey(const String& section, const String& key);
    Cursor FindKeyInSection(const Cursor& section, const String& key);
    Cursor FindOrAddKey(const Cursor& section, const String& key);
    // Find-or-add in the section of the given cursor: an existing key is
    // returned unchanged; a new one goes after the entry at the position when
    // it lies in that section (first when it is the section itself), else at
    // the end. A name the file format cannot hold (containing '=' or starting
    // with '[') is refused with a debug message and NotFound().
    Cursor AddKey(const Cursor& section, const String& key, const String& value,
                  const Cursor& position = End());
    bool HasKey(const String& section, const String& key) const;

    // Removes the section under the cursor with all its entries, or the key
    // or comment under it. Answers a cursor on what follows, as Next() from
    // the removed item would have reached it, with the same mask.
    Cursor Erase(const Cursor& cursor);

    // CRC-16 of every key's value in document order, skipping keys named
    // exactly `skip`; each byte is sign-extended before it is folded in.
    uint16_t ComputeCrc16(const std::string& skip) const
        requires std::is_same_v<Char, char>;

private:
    friend class IniCursor<Char>;
    friend class IniGrammar<Char>;

    bool IsValid(const Cursor& cursor) const;
    Section* AppendSection(const String& name);
    // Appends to the section unless a key of that name is there already.
    Entry* AppendEntry(Section& section, int kind, const String& key, const String& value, int flags);
    Entry* InsertEntry(Section& section, size_t index, int kind, const String& key, const String& value, int flags);

    std::vector<std::unique_ptr<Section>> mSections;
    std::map<String, Section*, AsciiCaseLess<Char>> mSectionsByName;
    String mLineEnding;
};

using NarrowIniDocument = IniDocument<char>;
using WideIniDocument = IniDocument<wchar_t>;

extern template class IniDocument<char>;
extern template class IniDocument<wchar_t>;

} // namespace Tandry
