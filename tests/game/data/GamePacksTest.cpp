// The packs hold the loose game files byte for byte, and nothing else: every
// file of res, logo and data except the movies, which stay loose because the
// movie control opens them by path.
#include "tests/game/data/GameFolder.h"

#include "resources/pak/PakTable.h"

#include <map>

namespace {

using namespace GameDataTest;

// The members of a pack, by their stored name, with their bytes unscrambled.
std::map<std::string, std::vector<uint8_t>> PackMembers(const fs::path& pack)
{
    std::vector<uint8_t> bytes = ReadBytes(pack);
    const Tandry::PakTable table = Tandry::ParsePakTable(bytes);
    for (uint8_t& b : bytes)
        b ^= 0x5D;
    EXPECT_EQ(table.status, Tandry::PakTableStatus::Ok) << pack << ": " << Tandry::DescribePakTableStatus(table.status);
    std::map<std::string, std::vector<uint8_t>> members;
    for (const Tandry::PakTableEntry& entry : table.entries) {
        const auto first = bytes.begin() + static_cast<std::ptrdiff_t>(entry.start);
        members[entry.name].assign(first, first + static_cast<std::ptrdiff_t>(entry.size));
    }
    return members;
}

// The stored name of a loose file: upper case, '\' between folders.
std::string StoredName(const std::string& folder, const std::string& relative)
{
    std::string name = folder + "/" + relative;
    for (char& c : name)
        c = c == '/' ? '\\' : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return name;
}

TEST(GamePacks, ThePacksHoldEveryLooseFileButTheMoviesByteForByte)
{
    const fs::path& game = BuiltGameFolder();
    const auto main = PackMembers(game / "main.pak");
    const auto data = PackMembers(game / "game.dat");

    const struct {
        const char* folder;
        const std::map<std::string, std::vector<uint8_t>>* pack;
    } kFolders[] = {{"res", &main}, {"logo", &main}, {"data", &data}};
    size_t listed = 0;
    for (const auto& f : kFolders) {
        for (const std::string& relative : FilesBelow(game / f.folder)) {
            const std::string name = StoredName(f.folder, relative);
            if (name.rfind("RES\\MOVIES\\", 0) == 0)
                continue;
            ++listed;
            const auto member = f.pack->find(name);
            ASSERT_NE(member, f.pack->end()) << name << " is loose but not packed";
            EXPECT_EQ(member->second, ReadBytes(game / f.folder / relative)) << name;
        }
    }
    EXPECT_EQ(main.size() + data.size(), listed) << "a pack holds a file that is not in the loose folders";
    for (const auto& [name, bytes] : main)
        EXPECT_NE(name.rfind("RES\\MOVIES\\", 0), 0u) << name << ": movies are never packed";

    const std::vector<std::string> movies = FilesBelow(game / "res" / "movies");
    EXPECT_EQ(movies, (std::vector<std::string>{"final.dat", "intro.dat", "mov_22.dat"}));
}

} // namespace
