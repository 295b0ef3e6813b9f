#include "platform/registry/FileRegistry.h"

#include "platform/fs/SafeWrite.h"
#include "platform/headless/HeadlessPlatform.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

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

    HeadlessPlatform* mPlatform = nullptr;
    std::string mFile;
};

TEST_F(FileRegistryTest, ChangesAreWrittenAtOnceAndReadByTheNextRun)
{
    {
        FileRegistry registry(mFile);
        RegistryKey key;
        ASSERT_TRUE(registry.CreateKey("SOFTWARE\\Hollowmere\\Moorglen", key));
        uint8_t value[4] = {50, 0, 0, 0};
        ASSERT_TRUE(registry.SetValue(key, "SfxVolume", REG_DWORD, value, 4));
        ASSERT_TRUE(std::filesystem::exists(mFile));
    }
    FileRegistry again(mFile);
    RegistryKey key;
    ASSERT_TRUE(again.OpenKey("SOFTWARE\\Hollowmere\\Moorglen", key));
    uint8_t buffer[4] = {};
    uint32_t length = 4;
    uint32_t type = 0;
    ASSERT_TRUE(again.QueryValue(key, "SfxVolume", &type, buffer, &length));
    EXPECT_EQ(buffer[0], 50);
}

TEST_F(FileRegistryTest, ADamagedFileIsMovedAsideUntouchedAndTheStoreStartsEmpty)
{
    std::filesystem::create_directories(std::filesystem::path(mFile).parent_path());
    const std::string damaged = "[SOFTWARE\\Hollowmere\\Moorglen]\nMusicVolume=4:5\n;end\n";
    std::ofstream(mFile, std::ios::binary) << damaged;

    FileRegistry registry(mFile);
    EXPECT_TRUE(registry.Snapshot().Keys().empty());
    EXPECT_EQ(ReadFile(mFile + ".corrupt"), damaged);
    EXPECT_NE(mPlatform->Debug().GetAll().find("damaged"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(mFile));

    RegistryKey key;
    ASSERT_TRUE(registry.CreateKey("SOFTWARE\\Hollowmere\\Moorglen", key));
    EXPECT_TRUE(std::filesystem::exists(mFile));
    EXPECT_EQ(ReadFile(mFile + ".corrupt"), damaged);
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

TEST_F(FileRegistryTest, ASaveThatFailsIsReportedAndKeepsThePreviousFile)
{
    FileRegistry registry(mFile);
    RegistryKey key;
    ASSERT_TRUE(registry.CreateKey("SOFTWARE", key));
    std::string before = ReadFile(mFile);
    uint8_t value[1] = {1};
    SafeWrite::SetFaultForTests(SafeWrite::Fault::Write);
    bool saved = registry.SetValue(key, "x", REG_BINARY, value, 1);
    SafeWrite::SetFaultForTests(SafeWrite::Fault::None);
    EXPECT_FALSE(saved);
    EXPECT_EQ(ReadFile(mFile), before);
    EXPECT_NE(mPlatform->Debug().GetAll().find("cannot save"), std::string::npos);
}

TEST_F(FileRegistryTest, AFileThatCannotBeReadIsLeftAloneAndNothingIsSaved)
{
    // A folder where the file should be.
    std::filesystem::create_directories(mFile + "/blocker");
    FileRegistry registry(mFile);
    RegistryKey key;
    EXPECT_FALSE(registry.CreateKey("SOFTWARE", key));
    EXPECT_NE(mPlatform->Debug().GetAll().find(mFile), std::string::npos);
}

} // namespace
