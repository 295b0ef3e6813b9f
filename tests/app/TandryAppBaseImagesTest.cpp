// Images by file name: one file read into a surface image, and the shared,
// counted images that two threads may ask for at once.
#include "app/TandryAppBase.h"

#include "AppTestSupport.h"
#include "graphics/display/DDImage.h"
#include "resources/images/ImageLib.h"
#include "resources/images/ImageWriters.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>
#include <vector>

namespace {

using namespace AppTest;

// Counts the file loads; a load may be made slow so that a second caller comes while it runs.
class ImageApp : public TestApp {
public:
    Tandry::DDImage* LoadImageFile(const std::string& path, bool commit) override
    {
        ++loads;
        loadedPaths.push_back(path);
        if (loadDelayMs > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(loadDelayMs));
        return TestApp::LoadImageFile(path, commit);
    }

    std::atomic<int> loads{0};
    // Written by one loader at a time in the tests that read it.
    std::vector<std::string> loadedPaths;
    int loadDelayMs = 0;
};

class Images : public AppFixture {
protected:
    // A 3 x 2 picture with one half-transparent pixel.
    static constexpr uint32_t kPixels[6] = {0xFF102030, 0xFF405060, 0x80708090,
                                            0xFFA0B0C0, 0xFFD0E0F0, 0xFF000000};

    static void WritePng(const std::string& path, const uint32_t* pixels, int width, int height)
    {
        ASSERT_TRUE(Tandry::SavePngToFile(path, {width, height, pixels}));
    }
};

TEST_F(Images, NoFileGivesNoImage)
{
    ImageApp app;
    EXPECT_EQ(app.LoadImageFile("", true), nullptr);
    EXPECT_EQ(app.LoadImageFile("missing.png", true), nullptr);
    EXPECT_EQ(app.LoadImageFile("missing", false), nullptr);
}

TEST_F(Images, AFileBecomesASurfaceImageWithItsPixels)
{
    WritePng("pic.png", kPixels, 3, 2);
    ImageApp app;
    for (bool commit : {false, true}) {
        SCOPED_TRACE(commit);
        std::unique_ptr<Tandry::DDImage> image(app.LoadImageFile("pic.png", commit));
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->mWidth, 3);
        EXPECT_EQ(image->mHeight, 2);
        const uint32_t* bits = image->GetBits();
        ASSERT_NE(bits, nullptr);
        EXPECT_EQ(std::vector<uint32_t>(bits, bits + 6), std::vector<uint32_t>(kPixels, kPixels + 6));
        EXPECT_EQ(image->mFileName, "pic.png");
        EXPECT_EQ(image->mTextureFlags & 8, 8);
        // Only a committed image has its alpha flags from the pixels.
        EXPECT_EQ(image->mHasAlpha, commit);
    }
}

TEST_F(Images, ASeparateAlphaImageGivesTheMask)
{
    const uint32_t colour[4] = {0xFF336699, 0xFF336699, 0xFF336699, 0xFF336699};
    ASSERT_TRUE(Tandry::SaveJpegToFile("door.jpg", {2, 2, colour}));
    // The mask's blue channel is the alpha.
    const uint32_t mask[4] = {0xFF0000FF, 0xFF000000, 0xFF000080, 0xFF0000FF};
    WritePng("door_.png", mask, 2, 2);
    ImageApp app;
    std::unique_ptr<Tandry::DDImage> image(app.LoadImageFile("door", true));
    ASSERT_NE(image, nullptr);
    const uint32_t* bits = image->GetBits();
    ASSERT_NE(bits, nullptr);
    EXPECT_EQ(bits[0] >> 24, 0xFFu);
    EXPECT_EQ(bits[1] >> 24, 0x00u);
    EXPECT_EQ(bits[2] >> 24, 0x80u);
    EXPECT_EQ(bits[3] >> 24, 0xFFu);
    EXPECT_TRUE(image->mHasAlpha);
}

TEST_F(Images, SharedImagesAreCountedByNameAndVariantWhateverTheCase)
{
    std::filesystem::create_directory("Pics");
    WritePng("Pics/A.png", kPixels, 3, 2);
    ImageApp app;

    bool isNew = false;
    Tandry::SharedImageHandle first = app.AcquireSharedImage("Pics\\A.png", "", &isNew);
    EXPECT_TRUE(isNew);
    Tandry::SharedImageHandle second = app.AcquireSharedImage("pics\\a.PNG", "", &isNew);
    EXPECT_FALSE(isNew);
    ASSERT_NE(first.GetImage(), nullptr);
    EXPECT_EQ(first.GetImage(), second.GetImage());
    EXPECT_EQ(first.entry, second.entry);
    EXPECT_EQ(first.entry->refCount, 2);
    EXPECT_EQ(app.loadedPaths, std::vector<std::string>{"Pics\\A.png"});

    // The variant is part of the key only: the same file is read again for it.
    Tandry::SharedImageHandle other = app.AcquireSharedImage("Pics\\A.png", "small", &isNew);
    EXPECT_TRUE(isNew);
    EXPECT_NE(other.entry, first.entry);
    EXPECT_EQ(app.loads, 2);
    EXPECT_EQ(app.mSharedImages.count({"PICS\\A.PNG", "SMALL"}), 1u);

    // Released to the last handle, the next clean-up frees the image.
    first.Release();
    app.ReleaseUnusedSharedImages();
    EXPECT_EQ(app.mSharedImages.size(), 2u);
    second.Release();
    app.ReleaseUnusedSharedImages();
    EXPECT_EQ(app.mSharedImages.size(), 1u);
    EXPECT_EQ(app.mSharedImages.count({"PICS\\A.PNG", ""}), 0u);
}

TEST_F(Images, SharedNamesWithTheMarkAreEmptyImages)
{
    ImageApp app;
    for (const char* name : {"!blank", "!"}) {
        SCOPED_TRACE(name);
        bool isNew = false;
        Tandry::SharedImageHandle handle = app.AcquireSharedImage(name, "", &isNew);
        EXPECT_TRUE(isNew);
        auto* image = dynamic_cast<Tandry::DDImage*>(handle.GetImage());
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->mWidth, 0);
        EXPECT_EQ(image->mHeight, 0);
    }
    EXPECT_EQ(app.loads, 0);
}

TEST_F(Images, AMissingSharedFileGivesAHandleWithoutAnImage)
{
    ImageApp app;
    Tandry::SharedImageHandle handle = app.AcquireSharedImage("gone.png", "", nullptr);
    ASSERT_NE(handle.entry, nullptr);
    EXPECT_EQ(handle.GetImage(), nullptr);
    EXPECT_EQ(handle.entry->refCount, 1);
    EXPECT_FALSE(handle.entry->loading);
    // Non-ASCII bytes keep their value in the key.
    Tandry::SharedImageHandle odd = app.AcquireSharedImage("\xE4x", "\xC9v", nullptr);
    EXPECT_EQ(app.mSharedImages.count({"\xE4X", "\xC9V"}), 1u);
}

TEST_F(Images, TwoThreadsAskingForOneNewNameShareOneLoad)
{
    WritePng("slow.png", kPixels, 3, 2);
    ImageApp app;
    app.loadDelayMs = 50;
    std::atomic<int> ready{0};
    Tandry::Image* seen[2] = {nullptr, nullptr};
    bool news[2] = {false, false};
    auto ask = [&](int index) {
        ++ready;
        while (ready < 2) {
        }
        Tandry::SharedImageHandle handle = app.AcquireSharedImage("slow.png", "", &news[index]);
        seen[index] = handle.GetImage();
    };
    std::thread a(ask, 0);
    std::thread b(ask, 1);
    a.join();
    b.join();
    EXPECT_EQ(app.loads, 1);
    EXPECT_NE(news[0], news[1]);
    ASSERT_NE(seen[0], nullptr);
    EXPECT_EQ(seen[0], seen[1]);
}

TEST_F(Images, TheCleanUpPassesOverAnEntryStillLoading)
{
    ImageApp app;
    Tandry::SharedImageEntry& entry = app.mSharedImages[{"X", ""}];
    entry.loading = true;
    app.SharedImageReleased();
    app.ReleaseUnusedSharedImages();
    EXPECT_EQ(app.mSharedImages.size(), 1u);
    entry.loading = false;
    app.SharedImageReleased();
    app.ReleaseUnusedSharedImages();
    EXPECT_TRUE(app.mSharedImages.empty());
}

} // namespace
