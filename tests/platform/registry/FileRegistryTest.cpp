#include "platform/registry/FileRegistry.h"

#include "platform/fs/SafeWrite.h"
#include "platform/headless/HeadlessPlatform.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

using namespace Platform;

namespace {

class FileRegistryTest : public testing::Test {
protected:
    void SetUp() override
    {
        mPlatform = &InstallHeadlessPlatform();
        mFile = *mPlatform->Folders().GetSettingsFolder() + "/Hollowmere/Moorglen/registry.ini";
    }
    void TearDown() override { ResetPlatform(); }

    std::string ReadFile(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }

    static std::vector<uint8_t> Dword(uint32_t value)
    {
        return {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value >> 16),
                static_cast<uint8_t>(value >> 24)};
    }

    // The game key's DWORD, or -1 when it is missing.
    static int64_t StoredDword(FileRegistry& registry, const std::string& name)
    {
        RegistryKey key;
        uint8_t buffer[4] = {};
        uint32_t length = 4;
        if (!registry.OpenKey("SOFTWARE\\Hollowmere\\Moorglen", key) ||
            !registry.QueryValue(key, name, nullptr, buffer, &length) || length != 4)
            return -1;
        return buffer[0] | buffer[1] << 8 | buffer[2] << 16 | static_cast<int64_t>(buffer[3]) << 24;
    }

    inline static const std::string kSection = "[SOFTWARE\\Hollowmere\\Moorglen]\n";

    HeadlessPlatform* mPlatform = nullptr;
    std::string mFile;
};

TEST_F(FileRegistryTest, ChangesWaitForAFlushAndAreReadByTheNextRun)
{
    {
        FileRegistry registry(mFile);
        RegistryKey key;
        ASSERT_TRUE(registry.CreateKey("SOFTWARE\\Hollowmere\\Moorglen", key));
        for (uint8_t volume = 0; volume <= 50; volume += 10)
            ASSERT_TRUE(registry.SetValue(key, "SfxVolume", REG_DWORD, Dword(volume).data(), 4));
        EXPECT_FALSE(std::filesystem::exists(mFile));
        EXPECT_TRUE(registry.HasUnsavedChanges());
        ASSERT_TRUE(registry.Flush());
        EXPECT_FALSE(registry.HasUnsavedChanges());
        ASSERT_TRUE(std::filesystem::exists(mFile));
        // With nothing changed a flush writes nothing, and neither does setting a value again.
        std::filesystem::remove(mFile);
        ASSERT_TRUE(registry.SetValue(key, "SfxVolume", REG_DWORD, Dword(50).data(), 4));
        EXPECT_TRUE(registry.Flush());
        EXPECT_FALSE(std::filesystem::exists(mFile));
        // What is left unsaved at the end is written on the way out.
        ASSERT_TRUE(registry.SetValue(key, "MusicVolume", REG_DWORD, Dword(70).data(), 4));
    }
    FileRegistry again(mFile);
    EXPECT_EQ(StoredDword(again, "SfxVolume"), 50);
    EXPECT_EQ(StoredDword(again, "MusicVolume"), 70);
}

// Each file on disk at start: whether the player's value is loaded, and if not
// that the file went aside untouched; a note in the debug output either way.
TEST_F(FileRegistryTest, WhatIsLoadedFromEachKindOfFile)
{
    const struct {
        const char* what;
        std::string text;
        bool loaded;
        const char* note; // in the debug output, or "" for none
    } cases[] = {
        {"as written", kSection + "SfxVolume=4:37000000\n;end\n", true, ""},
        {"byte-order mark", "\xEF\xBB\xBF" + kSection + "SfxVolume=4:37000000\n;end\n", true, ""},
        {"trailing blanks", "[SOFTWARE\\Hollowmere\\Moorglen] \nSfxVolume=4:37000000\t \n;end  \n", true, ""},
        {"blank lines", "\n" + kSection + "\n\nSfxVolume=4:37000000\n \n;end\n\n\n", true, ""},
        {"no closing line", kSection + "SfxVolume=4:37000000\n", true, "no closing"},
        {"one bad line", kSection + "SfxVolume=4:37000000\nMusicVolume=4:5\n;end\n", false, "damaged"},
        {"value cut short", kSection + "SfxVolume=4:3700", false, "damaged"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(std::filesystem::path(mFile).parent_path());
        std::filesystem::create_directories(std::filesystem::path(mFile).parent_path());
        std::ofstream(mFile, std::ios::binary) << c.text;
        const size_t seen = mPlatform->Debug().GetAll().size();

        FileRegistry registry(mFile);
        if (c.loaded) {
            EXPECT_EQ(StoredDword(registry, "SfxVolume"), 0x37);
            EXPECT_EQ(ReadFile(mFile), c.text);
            EXPECT_FALSE(std::filesystem::exists(mFile + ".corrupt"));
        } else {
            EXPECT_TRUE(registry.Snapshot().Keys().empty());
            EXPECT_FALSE(std::filesystem::exists(mFile));
            EXPECT_EQ(ReadFile(mFile + ".corrupt"), c.text);
        }
        const std::string debug = mPlatform->Debug().GetAll().substr(seen);
        if (*c.note == '\0')
            EXPECT_EQ(debug.find(mFile), std::string::npos) << debug;
        else
            EXPECT_NE(debug.find(c.note), std::string::npos) << debug;
    }
}

TEST_F(FileRegistryTest, EachDamagedFileIsSetAsideUnderItsOwnName)
{
    std::filesystem::create_directories(std::filesystem::path(mFile).parent_path());
    const std::string damaged[] = {
        kSection + "MusicVolume=4:5\n;end\n",
        kSection + "SfxVolume=4:zz\n;end\n",
        kSection + "x\n",
    };
    const std::string names[] = {mFile + ".corrupt", mFile + ".corrupt.1", mFile + ".corrupt.2"};
    for (const std::string& text : damaged) {
        std::ofstream(mFile, std::ios::binary) << text;
        FileRegistry registry(mFile);
        EXPECT_TRUE(registry.Snapshot().Keys().empty());
        EXPECT_FALSE(std::filesystem::exists(mFile));
    }
    for (size_t i = 0; i < std::size(damaged); ++i)
        EXPECT_EQ(ReadFile(names[i]), damaged[i]) << names[i];
    EXPECT_NE(mPlatform->Debug().GetAll().find("renamed to " + names[2]), std::string::npos);

    // The new settings are saved under the usual name, the copies stay.
    FileRegistry registry(mFile);
    RegistryKey key;
    ASSERT_TRUE(registry.CreateKey("SOFTWARE\\Hollowmere\\Moorglen", key));
    ASSERT_TRUE(registry.Flush());
    EXPECT_TRUE(std::filesystem::exists(mFile));
    for (size_t i = 0; i < std::size(damaged); ++i)
        EXPECT_EQ(ReadFile(names[i]), damaged[i]) << names[i];
}

TEST_F(FileRegistryTest, WithoutAFolderTheStoreLivesInMemoryWithAMessage)
{
    FileRegistry registry("");
    RegistryKey key;
    EXPECT_TRUE(registry.CreateKey("SOFTWARE", key));
    uint8_t value[1] = {1};
    EXPECT_TRUE(registry.SetValue(key, "x", REG_BINARY, value, 1));
    EXPECT_NE(mPlatform->Debug().GetAll().find("in memory"), std::string::npos);
}

TEST_F(FileRegistryTest, AFlushThatFailsIsReportedKeepsThePreviousFileAndTriesAgainLater)
{
    FileRegistry registry(mFile);
    RegistryKey key;
    ASSERT_TRUE(registry.CreateKey("SOFTWARE", key));
    ASSERT_TRUE(registry.Flush());
    std::string before = ReadFile(mFile);
    uint8_t value[1] = {1};
    ASSERT_TRUE(registry.SetValue(key, "x", REG_BINARY, value, 1));
    SafeWrite::SetFaultForTests(SafeWrite::Fault::Write);
    bool saved = registry.Flush();
    SafeWrite::SetFaultForTests(SafeWrite::Fault::None);
    EXPECT_FALSE(saved);
    EXPECT_EQ(ReadFile(mFile), before);
    EXPECT_NE(mPlatform->Debug().GetAll().find("cannot save"), std::string::npos);
    EXPECT_TRUE(registry.HasUnsavedChanges());
    ASSERT_TRUE(registry.Flush());
    EXPECT_NE(ReadFile(mFile).find("x=3:01"), std::string::npos);
}

TEST_F(FileRegistryTest, AFileThatCannotBeReadIsLeftAloneAndNothingIsSaved)
{
    // A folder where the file should be.
    std::filesystem::create_directories(mFile + "/blocker");
    FileRegistry registry(mFile);
    RegistryKey key;
    EXPECT_TRUE(registry.CreateKey("SOFTWARE", key));
    EXPECT_FALSE(registry.Flush());
    EXPECT_TRUE(std::filesystem::is_directory(mFile + "/blocker"));
    EXPECT_NE(mPlatform->Debug().GetAll().find(mFile), std::string::npos);
}

} // namespace
