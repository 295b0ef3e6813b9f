// Pack fixtures for the file layer's tests: packs built in memory from
// (entry name, bytes) pairs by the writer, and a test base that runs each
// test in a scratch folder with a clean file layer.
#pragma once

#include "platform/fs/ScratchFolder.h"
#include "resources/pak/PakInterface.h"
#include "resources/pak/PakWriter.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace TestSupport {

using PakFiles = std::vector<std::pair<std::string, std::string>>;

inline std::vector<uint8_t> MakePack(const PakFiles& files)
{
    std::vector<Tandry::PakWriteEntry> entries;
    for (const auto& [name, bytes] : files)
        entries.push_back(Tandry::PakWriteEntry::FromBytes(name, std::vector<uint8_t>(bytes.begin(), bytes.end())));
    std::vector<uint8_t> pack;
    std::string error;
    EXPECT_TRUE(Tandry::WritePakToMemory(entries, pack, error)) << error;
    return pack;
}

inline void WritePack(const std::string& path, const PakFiles& files)
{
    const std::vector<uint8_t> pack = MakePack(files);
    WriteFile(path, std::string(pack.begin(), pack.end()));
}

class PakLayerTest : public ::testing::Test {
protected:
    PakLayerTest() { mPak->Reset(); }
    ~PakLayerTest() override { mPak->Reset(); }

    ScratchFolder mScratch{ScratchFolder::Enter};
    Tandry::PakInterface* mPak = Tandry::GetSharedPakInterface();
};

} // namespace TestSupport
