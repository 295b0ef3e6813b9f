#include "resources/pak/PakTable.h"

#include "resources/pak/PakScramble.h"
#include "resources/pak/PakTestSupport.h"

#include <gtest/gtest.h>

namespace {

using TestSupport::MakePack;
using Tandry::PakTable;
using Tandry::PakTableStatus;
using Tandry::PakXorCopy;
using Tandry::ParsePakTable;

std::vector<uint8_t> Scramble(const std::vector<uint8_t>& plain)
{
    std::vector<uint8_t> out(plain.size());
    PakXorCopy(out.data(), plain.data(), plain.size());
    return out;
}

// Header, then entries {0, length, name, size, time 0}; no end byte.
std::vector<uint8_t> PlainTable(const std::vector<std::pair<std::string, uint32_t>>& entries)
{
    std::vector<uint8_t> out = {0xC0, 0x4A, 0xC0, 0xBA, 0, 0, 0, 0};
    for (const auto& [name, size] : entries) {
        out.push_back(0);
        out.push_back(static_cast<uint8_t>(name.size()));
        out.insert(out.end(), name.begin(), name.end());
        for (int i = 0; i < 4; ++i)
            out.push_back(static_cast<uint8_t>(size >> (8 * i)));
        out.insert(out.end(), 8, 0);
    }
    return out;
}

TEST(PakTable, EntriesGetConsecutiveDataAfterTheEndByte)
{
    const std::vector<uint8_t> pack = MakePack({{"DATA\\A.TXT", "abc"}, {"DATA\\SUB\\B.PNG", "hello"}});
    const PakTable table = ParsePakTable(pack);
    ASSERT_EQ(table.status, PakTableStatus::Ok);
    ASSERT_EQ(table.entries.size(), 2u);
    EXPECT_EQ(table.entries[0].name, "DATA\\A.TXT");
    EXPECT_EQ(table.entries[0].start, 61u);
    EXPECT_EQ(table.entries[0].size, 3u);
    EXPECT_EQ(table.entries[1].name, "DATA\\SUB\\B.PNG");
    EXPECT_EQ(table.entries[1].start, 64u);
    EXPECT_EQ(table.entries[1].size, 5u);
}

TEST(PakTable, DamagedTablesAreRefusedWhole)
{
    std::vector<uint8_t> wrongVersion = PlainTable({});
    wrongVersion[4] = 1;
    std::vector<uint8_t> wrongMagic = PlainTable({});
    wrongMagic[0] ^= 1;
    std::vector<uint8_t> pastEnd = PlainTable({{"A", 3}});
    pastEnd.push_back(0x80);
    pastEnd.insert(pastEnd.end(), {1, 2});   // only 2 of 3 data bytes
    std::vector<uint8_t> hugeSize = PlainTable({{"A", 0}, {"B", 0xFFFFFFFFu}, {"C", 0xFFFFFFFFu}});
    hugeSize.push_back(0x80);

    const struct {
        const char* what;
        std::vector<uint8_t> plain;
        PakTableStatus status;
    } cases[] = {
        {"empty file", {}, PakTableStatus::BadMagic},
        {"magic cut short", {0xC0, 0x4A}, PakTableStatus::BadMagic},
        {"wrong magic", wrongMagic, PakTableStatus::BadMagic},
        {"version cut short", {0xC0, 0x4A, 0xC0, 0xBA, 0}, PakTableStatus::BadVersion},
        {"version 1", wrongVersion, PakTableStatus::BadVersion},
        {"data past the end", pastEnd, PakTableStatus::DataPastEnd},
        {"sizes past the end", hugeSize, PakTableStatus::DataPastEnd},
    };
    for (const auto& c : cases) {
        const PakTable table = ParsePakTable(Scramble(c.plain));
        EXPECT_EQ(table.status, c.status) << c.what;
        EXPECT_TRUE(table.entries.empty()) << c.what;
    }
}

TEST(PakTable, EveryCutInsideAnEntryIsRefused)
{
    const std::vector<uint8_t> whole = PlainTable({{"FIRST", 0}, {"SECOND", 0}});
    const size_t secondStart = 8 + (2 + 5 + 12);
    for (size_t cut = secondStart + 1; cut < whole.size(); ++cut) {
        const std::vector<uint8_t> plain(whole.begin(), whole.begin() + static_cast<ptrdiff_t>(cut));
        const PakTable table = ParsePakTable(Scramble(plain));
        EXPECT_EQ(table.status, PakTableStatus::EntryCutShort) << "cut at " << cut;
        EXPECT_TRUE(table.entries.empty());
    }
}

TEST(PakTable, TableEndingAtTheEndOfTheFileWithoutEndByteIsComplete)
{
    const PakTable table = ParsePakTable(Scramble(PlainTable({{"FIRST", 0}, {"SECOND", 0}})));
    ASSERT_EQ(table.status, PakTableStatus::Ok);
    ASSERT_EQ(table.entries.size(), 2u);
    EXPECT_EQ(table.entries[1].name, "SECOND");
    EXPECT_EQ(table.entries[1].start, PlainTable({{"FIRST", 0}, {"SECOND", 0}}).size());

    // Any flags byte with bit 7 set ends the table; bits 0 to 6 mean nothing.
    std::vector<uint8_t> plain = PlainTable({{"X", 1}});
    plain[8] = 0x7F;
    plain.push_back(0xC3);
    plain.push_back('!');
    const PakTable ended = ParsePakTable(Scramble(plain));
    ASSERT_EQ(ended.status, PakTableStatus::Ok);
    ASSERT_EQ(ended.entries.size(), 1u);
    EXPECT_EQ(ended.entries[0].start, plain.size() - 1);
}

} // namespace
