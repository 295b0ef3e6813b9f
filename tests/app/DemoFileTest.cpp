#include "app/DemoFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Tandry::DemoFile;

const std::vector<uint8_t> kSmallFile = {0x78, 0xEF, 0xBE, 0x42, 0x02, 0x00, 0x00, 0x00, 0x78, 0x56,
                                         0x34, 0x12, 0x03, 0x00, 0x31, 0x2E, 0x30, 0x04, 0x00, 0x00,
                                         0x00, 0x00, 0x00, 0x00, 0x00, 0x07, 0x00, 0x00, 0x00, 0x05};

DemoFile SmallFile()
{
    DemoFile file;
    file.seed = 0x12345678;
    file.productVersion = "1.0";
    file.totalUpdates = 7;
    file.events = {0x05};
    return file;
}

void Put32(std::vector<uint8_t>& bytes, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

TEST(DemoFile, WritesTheLayoutByteForByte)
{
    EXPECT_EQ(SmallFile().Write(), kSmallFile);
}

TEST(DemoFile, ReadsBackWhatItWrote)
{
    DemoFile file = SmallFile();
    file.markers = {{"first", 50}, {"second", 4000}};
    file.events = {0x01, 0x02, 0xFF};
    DemoFile read;
    std::string error;
    ASSERT_TRUE(DemoFile::Read(file.Write(), "1.0", read, error)) << error;
    EXPECT_TRUE(error.empty());
    EXPECT_EQ(read.seed, 0x12345678u);
    ASSERT_EQ(read.markers.size(), 2u);
    EXPECT_EQ(read.markers[0].name, "first");
    EXPECT_EQ(read.markers[0].update, 50);
    EXPECT_EQ(read.markers[1].name, "second");
    EXPECT_EQ(read.markers[1].update, 4000);
    EXPECT_EQ(read.totalUpdates, 7u);
    EXPECT_EQ(read.events, file.events);
}

TEST(DemoFile, AVersionOneFileHasNoMarkerBlock)
{
    DemoFile file = SmallFile();
    file.version = 1;
    file.markers = {{"ignored", 3}};
    const std::vector<uint8_t> bytes = file.Write();
    ASSERT_EQ(bytes.size(), kSmallFile.size() - 8);
    DemoFile read;
    std::string error;
    ASSERT_TRUE(DemoFile::Read(bytes, "1.0", read, error)) << error;
    EXPECT_TRUE(read.markers.empty());
    EXPECT_EQ(read.totalUpdates, 7u);
    EXPECT_EQ(read.events, std::vector<uint8_t>{0x05});
}

TEST(DemoFile, RefusesDamagedFilesWithTheTextsShownToTheUser)
{
    struct Case {
        std::string name;
        std::vector<uint8_t> bytes;
        std::string error;
    };
    std::vector<Case> cases;
    auto changed = [](size_t at, uint32_t value) {
        std::vector<uint8_t> bytes = kSmallFile;
        Put32(bytes, at, value);
        return bytes;
    };
    cases.push_back({"wrong magic", changed(0, 0x42BEEF79), "Invalid demo file."});
    {
        DemoFile other = SmallFile();
        other.productVersion = "9.9";
        cases.push_back({"other version", other.Write(), "This demo file appears to be for '9.9'"});
    }
    for (uint32_t blockSize : {5u, 0x80000000u, 0xFFFFFFFFu})
        cases.push_back({"block size " + std::to_string(blockSize), changed(17, blockSize), "Invalid demo file."});
    {
        DemoFile counted = SmallFile();
        counted.markers = {{"only", 1}};
        std::vector<uint8_t> bytes = counted.Write();
        Put32(bytes, 21, 2); // the count, first in the block
        cases.push_back({"count of 2 with one marker", bytes, "Invalid demo file."});
    }
    {
        DemoFile named = SmallFile();
        named.markers = {{"abc", 1}};
        std::vector<uint8_t> bytes = named.Write();
        bytes[25] = 0x20; // the name's length, past the block
        cases.push_back({"name past the block", bytes, "Invalid demo file."});
    }
    {
        DemoFile updated = SmallFile();
        updated.markers = {{"abc", 1}};
        std::vector<uint8_t> bytes = updated.Write();
        // The block ends inside the marker's update: one byte of it moves
        // from the block to the total.
        Put32(bytes, 17, 4 + 2 + 3 + 3);
        cases.push_back({"update past the block", bytes, "Invalid demo file."});
    }
    cases.push_back({"ends after the total", std::vector<uint8_t>(kSmallFile.begin(), kSmallFile.end() - 1),
                     "Invalid demo file."});
    // Cut inside every field in turn: magic, version, seed, L, string, M,
    // block, total.
    for (size_t cut : {0u, 2u, 6u, 10u, 13u, 15u, 19u, 23u, 27u})
        cases.push_back({"cut at " + std::to_string(cut),
                         std::vector<uint8_t>(kSmallFile.begin(), kSmallFile.begin() + static_cast<long>(cut)),
                         "Invalid demo file."});

    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        DemoFile read;
        read.seed = 99;
        std::string error;
        EXPECT_FALSE(DemoFile::Read(test.bytes, "1.0", read, error));
        EXPECT_EQ(error, test.error);
        EXPECT_EQ(read.seed, 99u) << "a failed read leaves the output alone";
    }
}

TEST(DemoFile, AVersionStringLongerThan255IsReadTo255)
{
    DemoFile file = SmallFile();
    file.productVersion = std::string(300, 'v');
    DemoFile read;
    std::string error;
    EXPECT_FALSE(DemoFile::Read(file.Write(), file.productVersion, read, error));
    EXPECT_EQ(error, "This demo file appears to be for '" + std::string(255, 'v') + "'");
}

TEST(DemoFile, ANegativeNameLengthIsAnEmptyName)
{
    DemoFile file = SmallFile();
    file.markers = {{"", 9}};
    std::vector<uint8_t> bytes = file.Write();
    bytes[26] = 0x80; // length 0x8000
    DemoFile read;
    std::string error;
    ASSERT_TRUE(DemoFile::Read(bytes, "1.0", read, error)) << error;
    ASSERT_EQ(read.markers.size(), 1u);
    EXPECT_EQ(read.markers[0].name, "");
    EXPECT_EQ(read.markers[0].update, 9);
}

} // namespace
