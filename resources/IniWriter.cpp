#include "resources/IniWriter.h"

namespace Tandry {

namespace {

enum class Field { SectionName, KeyName, Value };

template <typename Char>
bool IsBlank(Char c)
{
    return c == Char(' ') || c == Char('\t');
}

// Escapes what the grammar would otherwise read differently. Names and values
// that need none of this are written unchanged. `following` is the character
// written right after the text on the same line (0 when none).
template <typename Char>
void AppendEscaped(std::basic_string<Char>& out, const std::basic_string<Char>& text, Field field,
                   Char following)
{
    const size_t n = text.size();
    for (size_t i = 0; i < n; ++i) {
        const Char c = text[i];
        if (c == Char('\n')) {
            out += Char('\\');
            out += Char('n');
            continue;
        }
        if (c == Char('\r')) {
            out += Char('\\');
            out += Char('r');
            continue;
        }
        const Char next = i + 1 < n ? text[i + 1] : following;
        bool escape = c == Char('#') || c == Char(';') || c == Char('\\');
        // "//" and "/*" would open a comment.
        escape = escape || (c == Char('/') && (next == Char('/') || next == Char('*')));
        escape = escape || (field == Field::SectionName && c == Char(']'));
        // Blanks at either end would be skipped or trimmed; an escaped one is
        // kept, and it shields the blanks between it and the text.
        escape = escape || (IsBlank(c) && (i == 0 || i + 1 == n));
        if (escape)
            out += Char('\\');
        out += c;
    }
}

template <typename Entry>
bool IsComment(const Entry& entry)
{
    return entry.kind == IniKind::Comment;
}

template <typename Char>
bool IsBlockComment(const std::basic_string<Char>& text)
{
    return text.size() >= 2 && text[0] == Char('/') && text[1] == Char('*');
}

template <typename Char>
bool IsClosedBlockComment(const std::basic_string<Char>& text)
{
    const size_t n = text.size();
    return IsBlockComment(text) && n >= 4 && text[n - 2] == Char('*') && text[n - 1] == Char('/');
}

// Whether a line ending goes between two entries of one section.
template <typename Entry>
bool BreakBetween(const Entry& prev, const Entry& entry)
{
    // A line comment runs to the end of its line, so nothing may follow it.
    if (IsComment(prev) && !IsBlockComment(prev.key))
        return true;
    const bool prevEndsLine = !(IsComment(prev) && (prev.flags & IniCommentFlag::TextFollows));
    return prevEndsLine && (entry.kind == IniKind::Key || (entry.flags & IniCommentFlag::OwnLine));
}

template <typename Char>
void AppendComment(std::basic_string<Char>& out, const std::basic_string<Char>& text, bool more)
{
    out += text;
    if (!more)
        return;
    // Such texts can only come from the end of a file. Written as they are
    // with more after them, they would swallow the next line (a backslash
    // before the line ending) or the rest of the file (an open block comment).
    if (IsBlockComment(text)) {
        if (!IsClosedBlockComment(text)) {
            out += Char('*');
            out += Char('/');
        }
    } else if (!text.empty() && text.back() == Char('\\')) {
        out += Char(' ');
    }
}

} // namespace

template <typename Char>
std::basic_string<Char> WriteIniText(const IniDocument<Char>& doc)
{
    using String = std::basic_string<Char>;
    const String& lineEnding = doc.GetLineEnding();
    String out;
    bool wroteAny = false;
    const size_t sectionCount = doc.GetSectionCount();
    for (size_t s = 0; s < sectionCount; ++s) {
        const auto& section = doc.GetSection(s);
        const String& name = section.header.key;
        // Only an unnamed first section with entries can go without a header;
        // "[]" keeps any other unnamed section from joining the one before.
        const bool header = !name.empty() || s != 0 || section.entries.empty();
        if (header) {
            if (wroteAny)
                out += lineEnding + lineEnding;
            out += Char('[');
            AppendEscaped(out, name, Field::SectionName, Char(']'));
            out += Char(']');
            wroteAny = true;
        }
        const auto& entries = section.entries;
        for (size_t i = 0; i < entries.size(); ++i) {
            const auto& entry = *entries[i];
            // The rest of a header's line is not read, so the first entry of
            // a section always starts a line of its own.
            const bool lineBreak = i == 0 ? header : BreakBetween(*entries[i - 1], entry);
            if (lineBreak)
                out += lineEnding;
            wroteAny = true;
            const bool more = i + 1 < entries.size() || s + 1 < sectionCount;
            if (entry.kind != IniKind::Key) {
                AppendComment(out, entry.key, more);
                continue;
            }
            AppendEscaped(out, entry.key, Field::KeyName, Char('='));
            out += Char('=');
            Char following = 0;
            if (i + 1 < entries.size() && !BreakBetween(entry, *entries[i + 1]) && !entries[i + 1]->key.empty())
                following = entries[i + 1]->key[0];
            AppendEscaped(out, entry.value, Field::Value, following);
        }
    }
    return out;
}

std::string EncodeIniText(const std::string& text)
{
    return text;
}

std::string EncodeIniText(const std::wstring& text)
{
    std::string bytes;
    bytes.reserve(2 + 2 * text.size());
    auto unit = [&bytes](uint32_t u) {
        bytes += char(u & 0xFF);
        bytes += char((u >> 8) & 0xFF);
    };
    unit(0xFEFF);
    for (const wchar_t c : text) {
        const uint32_t u = uint32_t(c);
        if (u <= 0xFFFF) {
            unit(u);
        } else if (u <= 0x10FFFF) {
            unit(0xD800 + ((u - 0x10000) >> 10));
            unit(0xDC00 + ((u - 0x10000) & 0x3FF));
        } else {
            unit(0xFFFD);
        }
    }
    return bytes;
}

template std::string WriteIniText(const IniDocument<char>& doc);
template std::wstring WriteIniText(const IniDocument<wchar_t>& doc);

} // namespace Tandry
