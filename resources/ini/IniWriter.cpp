#include "resources/ini/IniWriter.h"

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

template <typename Char>
std::basic_string<Char> String2(const char* text)
{
    return std::basic_string<Char>(text, text + std::char_traits<char>::length(text));
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
void AppendComment(std::basic_string<Char>& out, const std::basic_string<Char>& text, bool more,
                   const std::basic_string<Char>& lineEnding)
{
    out += text;
    if (!more)
        return;
    // An open block comment can only come from the end of a file; with more
    // after it, it would swallow the rest. Close it.
    if (IsBlockComment(text)) {
        if (!IsClosedBlockComment(text)) {
            out += Char('*');
            out += Char('/');
        }
        return;
    }
    // A line comment ending in a backslash would join the next line. Written
    // with one more backslash and a lone line-break character that is not the
    // first one of the file, it reads back as it is: the first backslash
    // stays, the second joins that lone character (a join drops its partner
    // only when it is the first character of the file's line ending), and the
    // line ending after it ends the comment. An empty first line provides the
    // file's first line break when none has been written yet.
    if (text.empty() || text.back() != Char('\\'))
        return;
    const size_t firstBreak = out.find_first_of(String2<Char>("\r\n"));
    if (firstBreak == std::basic_string<Char>::npos)
        out.insert(0, lineEnding);
    const Char first = firstBreak == std::basic_string<Char>::npos ? lineEnding[0] : out[firstBreak];
    out += Char('\\');
    out += first == Char('\r') ? Char('\n') : Char('\r');
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
                AppendComment(out, entry.key, more, lineEnding);
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
