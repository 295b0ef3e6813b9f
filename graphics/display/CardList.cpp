#include "graphics/display/CardList.h"

#include "graphics/display/DisplayUtils.h"
#include "platform/fs/FileOps.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace Tandry {

namespace {

// The longest piece a line is read in; longer lines give several pieces.
constexpr size_t kPieceLength = 3999;

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

bool PieceNamesCard(std::string_view piece, const std::string& description)
{
    // The text of a piece ends at a zero byte, as a C string would.
    piece = piece.substr(0, piece.find('\0'));
    while (!piece.empty() && IsSpace(piece.front()))
        piece.remove_prefix(1);
    while (!piece.empty() && IsSpace(piece.back()))
        piece.remove_suffix(1);
    if (piece.empty())
        return false;
    const std::string pattern(piece);
    return FindNoCase(description.c_str(), pattern.c_str()) >= 0;
}

} // namespace

bool CardListContains(std::string_view contents, const std::string& description)
{
    while (!contents.empty()) {
        const size_t end = contents.find('\n');
        std::string_view line = contents.substr(0, end);
        contents.remove_prefix(end == std::string_view::npos ? contents.size() : end + 1);
        do {
            if (PieceNamesCard(line.substr(0, kPieceLength), description))
                return true;
            line.remove_prefix(std::min(line.size(), kPieceLength));
        } while (!line.empty());
    }
    return false;
}

std::optional<bool> FileListContains(const std::string& path, const std::string& description)
{
    FILE* file = Platform::OpenFile(path, "rb");
    if (file == nullptr)
        return std::nullopt;
    std::string contents;
    std::vector<char> chunk(65536);
    size_t got;
    while ((got = std::fread(chunk.data(), 1, chunk.size(), file)) > 0)
        contents.append(chunk.data(), got);
    std::fclose(file);
    return CardListContains(contents, description);
}

} // namespace Tandry
