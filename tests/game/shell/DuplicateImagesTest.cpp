#include "game/shell/DuplicateImages.h"

#include "game/shell/GameApp.h"
#include "platform/fs/SafeWrite.h"
#include "platform/fs/ScratchFolder.h"
#include "platform/headless/HeadlessPlatform.h"
#include "resources/images/ImageWriters.h"
#include "resources/pak/PakFile.h"
#include "resources/pak/PakInterface.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

namespace fs = std::filesystem;

// A game object whose run-ending is only counted.
class ToolApp : public Tandry::GameApp {
public:
    void Shutdown() override { ++shutdowns; }
    int shutdowns = 0;
};

std::string FileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A picture whose pixels follow seed.
void WritePicture(const std::string& path, int width, int height, uint32_t seed)
{
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = 0xFF000000u | (seed * 2654435761u + static_cast<uint32_t>(i) * 40503u);
    ASSERT_TRUE(Tandry::SavePngToFile(path, {width, height, pixels.data()})) << path;
}

class DuplicateImagesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        mPlatform = &Platform::InstallHeadlessPlatform();
        Tandry::GetSharedPakInterface()->Reset();
        fs::create_directories("data/x/sub");
        WritePicture("data/x/a.png", 8, 6, 1);
        WritePicture("data/x/b.png", 8, 6, 1);
        WritePicture("data/x/c.png", 9, 6, 1);
        WritePicture("data/x/X.PNG", 8, 6, 1);
        WritePicture("data/x/sub/d.png", 8, 6, 2);
        std::ofstream("data/x/broken.png") << "not a picture";
        mApp = std::make_unique<ToolApp>();
    }

    void TearDown() override
    {
        Platform::SafeWrite::SetFaultForTests(Platform::SafeWrite::Fault::None);
        mApp.reset();
        Tandry::GetSharedPakInterface()->Reset();
        Platform::ResetPlatform();
    }

    TestSupport::ScratchFolder mScratch{TestSupport::ScratchFolder::Enter};
    Platform::HeadlessPlatform* mPlatform = nullptr;
    std::unique_ptr<ToolApp> mApp;
};

TEST_F(DuplicateImagesTest, TheLaterOfTwoEqualPicturesIsDeletedAndAliasedToTheFirst)
{
    const std::string aBytes = FileText("data/x/a.png");
    ASSERT_LT(fs::file_size("data/x/b.png"), 50u * 1024);

    Tandry::FindDuplicateImages(mApp.get());

    EXPECT_TRUE(fs::exists("data/x/a.png"));
    EXPECT_FALSE(fs::exists("data/x/b.png"));
    for (const char* kept : {"data/x/c.png", "data/x/X.PNG", "data/x/broken.png", "data/x/sub/d.png"})
        EXPECT_TRUE(fs::exists(kept)) << kept;
    EXPECT_EQ(FileText("data/common.ini"), "[common]\nDATA\\X\\B.PNG=DATA\\X\\A.PNG\n");
    const auto boxes = mPlatform->Dialogs().GetBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].owner, nullptr);
    EXPECT_EQ(boxes[0].caption, L"app");
    EXPECT_EQ(boxes[0].flags, Platform::MB_OK);
    EXPECT_EQ(boxes[0].text, L"Можно сэкономить 0.0mb (1 файлов)");
    EXPECT_EQ(mApp->shutdowns, 1);

    // Through the alias the file layer opens the kept picture under the removed name.
    Tandry::PakFileHandle* file = Tandry::PakOpen("data\\x\\b.png", "rb");
    ASSERT_NE(file, nullptr);
    std::string read(aBytes.size() + 1, '\0');
    read.resize(Tandry::PakRead(read.data(), 1, read.size(), file));
    Tandry::PakClose(file);
    EXPECT_EQ(read, aBytes);
}

TEST_F(DuplicateImagesTest, AnAliasAlreadyThereStaysAndTheSizesAddUp)
{
    Tandry::GetSharedPakInterface()->Aliases()["DATA\\X\\B.PNG"] = "DATA\\KEPT.PNG";
    // Large enough that the saving shows in tenths of a megabyte: 3 copies of a big noisy picture.
    fs::create_directory("data/y");
    for (const char* name : {"data/y/p1.png", "data/y/p2.png", "data/y/p3.png"})
        WritePicture(name, 400, 300, 7);
    const uint64_t saved = fs::file_size("data/y/p2.png") + fs::file_size("data/y/p3.png") + fs::file_size("data/x/b.png");

    Tandry::FindDuplicateImages(mApp.get());

    EXPECT_FALSE(fs::exists("data/x/b.png"));
    EXPECT_FALSE(fs::exists("data/y/p2.png"));
    EXPECT_FALSE(fs::exists("data/y/p3.png"));
    EXPECT_TRUE(fs::exists("data/y/p1.png"));
    EXPECT_EQ(FileText("data/common.ini"), "[common]\nDATA\\X\\B.PNG=DATA\\KEPT.PNG\n"
                                           "DATA\\Y\\P2.PNG=DATA\\Y\\P1.PNG\nDATA\\Y\\P3.PNG=DATA\\Y\\P1.PNG\n");
    wchar_t expected[80];
    std::swprintf(expected, 80, L"Можно сэкономить %.1fmb (%d файлов)", static_cast<double>(saved) / (1 << 20), 3);
    EXPECT_EQ(mPlatform->Dialogs().GetBoxes().at(0).text, expected);
}

TEST_F(DuplicateImagesTest, WhenTheTableCannotBeWrittenNothingIsDeleted)
{
    std::ofstream("data/common.ini") << "[common]\n";
    for (auto fault : {Platform::SafeWrite::Fault::Write, Platform::SafeWrite::Fault::Rename}) {
        Tandry::GetSharedPakInterface()->Aliases().clear();
        const size_t before = mPlatform->Dialogs().GetBoxes().size();
        mApp->shutdowns = 0;
        Platform::SafeWrite::SetFaultForTests(fault);
        Tandry::FindDuplicateImages(mApp.get());
        EXPECT_TRUE(fs::exists("data/x/b.png"));
        EXPECT_EQ(FileText("data/common.ini"), "[common]\n");
        const auto boxes = mPlatform->Dialogs().GetBoxes();
        ASSERT_EQ(boxes.size(), before + 1);
        EXPECT_NE(boxes.back().text.find(L"data/common.ini"), std::wstring::npos);
        EXPECT_EQ(mApp->shutdowns, 1);
    }
}

TEST_F(DuplicateImagesTest, TheDeveloperFlagFollowsTheEnvironment)
{
    const struct {
        const char* value;
        bool flag;
    } cases[] = {{nullptr, false}, {"1", true}, {"0", false}, {"yes", false}, {"11", false}};
    for (const auto& c : cases) {
        if (c.value == nullptr)
            unsetenv("MOORGLEN_FIND_DUPLICATE_IMAGES");
        else
            setenv("MOORGLEN_FIND_DUPLICATE_IMAGES", c.value, 1);
        mApp.reset();
        mApp = std::make_unique<ToolApp>();
        EXPECT_EQ(mApp->mDeveloperFlag, c.flag) << (c.value ? c.value : "unset");
    }
    unsetenv("MOORGLEN_FIND_DUPLICATE_IMAGES");
}

} // namespace
