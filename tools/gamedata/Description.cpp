#include "tools/gamedata/Description.h"

#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace Tandry::GameData {
namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::vector<std::string> SplitWords(std::string_view line)
{
    std::vector<std::string> words;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && IsBlank(line[i]))
            ++i;
        const size_t start = i;
        while (i < line.size() && !IsBlank(line[i]))
            ++i;
        if (i > start)
            words.emplace_back(line.substr(start, i - start));
    }
    return words;
}

} // namespace

std::string LineError(const Statement& statement, const std::string& message)
{
    return "line " + std::to_string(statement.line) + ": " + message;
}

bool ParseDescription(std::string_view text, std::vector<Statement>& out, std::string& error)
{
    out.clear();
    int number = 0;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        const size_t comment = line.find('#');
        if (comment != std::string_view::npos)
            line = line.substr(0, comment);
        for (const char c : line) {
            if (!IsBlank(c) && (c < 0x21 || c > 0x7E)) {
                error = "line " + std::to_string(number) + ": a byte that is not plain text";
                return false;
            }
        }
        std::vector<std::string> words = SplitWords(line);
        if (words.empty())
            continue;
        Statement statement;
        statement.line = number;
        statement.word = words[0];
        for (size_t i = 1; i < words.size(); ++i) {
            const size_t equals = words[i].find('=');
            if (equals == std::string::npos) {
                statement.values.push_back(words[i]);
                continue;
            }
            const std::string name = words[i].substr(0, equals);
            if (!statement.options.emplace(name, words[i].substr(equals + 1)).second) {
                error = LineError(statement, "the option " + name + " is given twice");
                return false;
            }
        }
        out.push_back(std::move(statement));
    }
    return true;
}

bool ParseNumber(const std::string& text, double& out)
{
    double value = 0;
    const char* first = text.data();
    const char* last = first + text.size();
    if (first != last && *first == '+')
        return false;
    const auto [end, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || end != last || !std::isfinite(value))
        return false;
    out = value;
    return true;
}

bool ReadSourceFile(const std::string& path, std::string& text, std::string& error)
{
    constexpr std::streamoff kMaxSourceBytes = 1 << 20;
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) {
        error = "cannot read";
        return false;
    }
    if (in.tellg() > kMaxSourceBytes) {
        error = "larger than a source should be";
        return false;
    }
    in.seekg(0);
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

bool WriteOutputFile(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error)
{
    const std::string temporary = path + ".part";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            error = "cannot write " + path;
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code failure;
    std::filesystem::rename(temporary, path, failure);
    if (failure) {
        error = "cannot write " + path + ": " + failure.message();
        std::filesystem::remove(temporary, failure);
        return false;
    }
    return true;
}

void RemoveOutputFile(const std::string& path)
{
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
}

} // namespace Tandry::GameData
