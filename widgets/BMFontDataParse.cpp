// The description reader of bitmap fonts. Lines end at CR (the byte after it
// is dropped) or at a lone LF, so descriptions written on either system load;
// the bytes come whole from the file, since the file layer's character reader
// drops every CR of a pack member.
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "widgets/BMFontData.h"

namespace Tandry {

namespace {

constexpr size_t kMaxLineLength = 500;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// A leading decimal integer with an optional sign, held at the int range; 0
// when there is none.
int ReadInt(std::string_view text, size_t& pos)
{
    bool negative = false;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
        negative = text[pos] == '-';
        ++pos;
    }
    int64_t value = 0;
    const int64_t limit = negative ? -int64_t{std::numeric_limits<int>::min()} : std::numeric_limits<int>::max();
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        value = value * 10 + (text[pos] - '0');
        if (value > limit)
            value = limit;
        ++pos;
    }
    return static_cast<int>(negative ? -value : value);
}

int ToInt(std::string_view text)
{
    size_t pos = 0;
    return ReadInt(text, pos);
}

// Integers separated by commas ("%d,%d,..."); reading stops at the first
// gap, leaving the rest as they were.
template <size_t N>
void ReadIntList(std::string_view text, std::array<int, N>& out)
{
    size_t pos = 0;
    for (size_t i = 0; i < N; ++i) {
        const size_t start = pos;
        const int value = ReadInt(text, pos);
        if (pos == start || (pos == start + 1 && (text[start] == '-' || text[start] == '+')))
            return;
        out[i] = value;
        if (pos >= text.size() || text[pos] != ',')
            return;
        ++pos;
    }
}

// One record: its tag and its key=value pairs in order.
struct Record {
    std::string_view tag;
    std::vector<std::pair<std::string_view, std::string_view>> pairs;

    // The first value of key; empty when the line lacks it.
    std::string_view Value(std::string_view key) const
    {
        for (const auto& [k, v] : pairs) {
            if (k == key)
                return v;
        }
        return {};
    }
    int Int(std::string_view key) const { return ToInt(Value(key)); }
};

Record Tokenize(std::string_view line)
{
    Record record;
    size_t pos = 0;
    while (pos < line.size() && IsBlank(line[pos]))
        ++pos;
    const size_t tagStart = pos;
    while (pos < line.size() && !IsBlank(line[pos]))
        ++pos;
    record.tag = line.substr(tagStart, pos - tagStart);
    while (true) {
        while (pos < line.size() && IsBlank(line[pos]))
            ++pos;
        if (pos >= line.size())
            break;
        const size_t keyStart = pos;
        while (pos < line.size() && line[pos] != '=')
            ++pos;
        const std::string_view key = line.substr(keyStart, pos - keyStart);
        if (pos >= line.size()) {
            record.pairs.emplace_back(key, std::string_view());
            break;
        }
        ++pos;
        size_t valueStart = pos;
        if (pos < line.size() && line[pos] == '"') {
            valueStart = ++pos;
            while (pos < line.size() && line[pos] != '"')
                ++pos;
            record.pairs.emplace_back(key, line.substr(valueStart, pos - valueStart));
            if (pos < line.size())
                ++pos;
        } else {
            while (pos < line.size() && !IsBlank(line[pos]))
                ++pos;
            record.pairs.emplace_back(key, line.substr(valueStart, pos - valueStart));
        }
    }
    return record;
}

} // namespace

bool BMFontData::ParseRecords(const uint8_t* bytes, size_t byteCount)
{
    std::string line;
    size_t pos = 0;
    while (pos < byteCount) {
        // Gather one line; a run longer than the limit is split into lines.
        line.clear();
        bool ended = false;
        while (pos < byteCount) {
            const char c = static_cast<char>(bytes[pos]);
            if (c == '\r' || c == '\n') {
                pos += c == '\r' ? 2 : 1;
                ended = true;
                break;
            }
            if (line.size() == kMaxLineLength)
                break;
            line += c;
            ++pos;
        }
        if (line.empty() && ended)
            return true;

        const Record r = Tokenize(line);
        if (r.tag == "info") {
            face = std::string(r.Value("face"));
            size = r.Int("size");
            bold = r.Int("bold") != 0;
            italic = r.Int("italic") != 0;
            charset = std::string(r.Value("charset"));
            unicode = r.Int("unicode") != 0;
            stretchH = r.Int("stretchH");
            smooth = r.Int("smooth") != 0;
            aa = r.Int("aa");
            padding = {};
            spacing = {};
            ReadIntList(r.Value("padding"), padding);
            ReadIntList(r.Value("spacing"), spacing);
        } else if (r.tag == "common") {
            lineHeight = r.Int("lineHeight");
            base = r.Int("base");
            scaleW = r.Int("scaleW");
            scaleH = r.Int("scaleH");
            packed = r.Int("packed");
            const int pages = r.Int("pages");
            if (pages < 0 || pages > kMaxPages)
                return false;
            pageFiles.resize(static_cast<size_t>(pages));
        } else if (r.tag == "page") {
            // An id outside the declared pages names no page.
            const int id = r.Int("id");
            if (id >= 0 && static_cast<size_t>(id) < pageFiles.size())
                pageFiles[static_cast<size_t>(id)] = std::string(r.Value("file"));
        } else if (r.tag == "chars" || r.tag == "kernings") {
        } else if (r.tag == "char") {
            BMGlyph& g = glyphs[r.Int("id")];
            g.x = r.Int("x");
            g.y = r.Int("y");
            g.width = r.Int("width");
            g.height = r.Int("height");
            g.xoffset = r.Int("xoffset");
            g.yoffset = r.Int("yoffset");
            g.xadvance = r.Int("xadvance");
            g.page = r.Int("page");
            g.chnl = r.Int("chnl");
        } else if (r.tag == "kerning") {
            // A pair whose second character has no glyph kerns nothing.
            const auto second = glyphs.find(r.Int("second"));
            if (second != glyphs.end())
                second->second.kerning.emplace(r.Int("first"), r.Int("amount"));
        } else {
            return false;
        }
    }
    return true;
}

} // namespace Tandry
