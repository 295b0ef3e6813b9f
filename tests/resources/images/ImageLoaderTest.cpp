#include "resources/images/ImageLib.h"
#include "resources/images/ImageTestFiles.h"
#include "resources/pak/PakTestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <thread>
#include <vector>

namespace {

using Tandry::ImageLib::GetImage;
using Tandry::ImageLib::Image;
using namespace ImageTest;

// 3 x 2, every word different, blue channels 0x30 .. 0x88.
const std::vector<uint32_t> kPngWords = {0xFF102030, 0x80405060, 0x00708090, 0xFFA0B0C0, 0x11223344, 0x55667788};

// A 3 x 2 mask whose blue channels are the alpha values wanted.
Bytes Mask3x2(const std::vector<uint8_t>& blue)
{
    std::vector<uint32_t> words;
    for (uint8_t b : blue)
        words.push_back(0xFF0A0B00u | b);
    return PngOfWords(3, 2, words);
}

class ImageLoaderTest : public TestSupport::PakLayerTest {
protected:
    ~ImageLoaderTest() override { Tandry::ResetAlphaColor(); }

    static void Put(const std::string& name, const Bytes& bytes)
    {
        TestSupport::WriteFile(name, std::string(bytes.begin(), bytes.end()));
    }

    const Bytes mPng = PngOfWords(3, 2, kPngWords);
    const Bytes mJpeg = MakeJpeg(8, 8, JpegKind::Rgb, std::vector<uint8_t>(8 * 8 * 3, 0x80), false);
};

TEST_F(ImageLoaderTest, NameWithoutExtensionTakesTheFirstReaderInOrder)
{
    Put("door.jpg", mJpeg);
    Put("door.png", mPng);
    auto image = GetImage("door", false);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, 8) << "the JPEG comes before the PNG";
}

TEST_F(ImageLoaderTest, ExtensionChoosesTheReaderWhateverItsCase)
{
    Put("door.jpg", mJpeg);
    Put("door.png", mPng);
    auto image = GetImage("door.PNG", false);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(PixelsOf(*image), kPngWords);

    Put("Pics/Gate.Png", mPng);
    image = GetImage("PICS\\gate.png", false);
    ASSERT_NE(image, nullptr) << "the resolver finds the file in any case";
    EXPECT_EQ(image->width, 3);
}

TEST_F(ImageLoaderTest, DotInAFolderNameIsNoExtension)
{
    Put("a.b/c.png", mPng);
    auto image = GetImage("a.b/c", false);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(PixelsOf(*image), kPngWords);
    Put("a.b\\d.gif", {});
    EXPECT_EQ(GetImage("a.b\\missing", false), nullptr);
}

TEST_F(ImageLoaderTest, UnknownExtensionReadsNothing)
{
    Put("x.bmp", mPng);
    Put("x.png", mPng);
    EXPECT_EQ(GetImage("x.bmp", false), nullptr);
    EXPECT_EQ(GetImage("x.", false), nullptr);
    EXPECT_EQ(GetImage("nothing", true), nullptr);
}

TEST_F(ImageLoaderTest, AlphaImageGivesItsBlueChannelAsAlpha)
{
    Put("door.jpg", mJpeg);
    Put("door_.png", PngOfWords(8, 8, std::vector<uint32_t>(64, 0xFFFFFF37)));
    auto plain = Tandry::ImageLib::ReadJpeg("door.jpg");
    auto image = GetImage("door", true);
    ASSERT_NE(plain, nullptr);
    ASSERT_NE(image, nullptr);
    for (size_t i = 0; i < 64; ++i)
        ASSERT_EQ(image->bits[i], (plain->bits[i] & 0xFFFFFF) | 0x37000000u) << i;
    EXPECT_EQ(PixelsOf(*GetImage("door", false)), PixelsOf(*plain));
}

TEST_F(ImageLoaderTest, AlphaNamesAreBuiltFromTheNameAsPassed)
{
    Put("door.png", mPng);
    Put("door.png_", Mask3x2({1, 2, 3, 4, 5, 6})); // "png_" is no reader's extension
    auto image = GetImage("door.png", true);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(PixelsOf(*image), kPngWords);

    Put("_door.png", Mask3x2({0xFF, 0, 0x80, 1, 2, 3}));
    image = GetImage("door.png", true);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(PixelsOf(*image),
              (std::vector<uint32_t>{0xFF102030, 0x00405060, 0x80708090, 0x01A0B0C0, 0x02223344, 0x03667788}));
}

TEST_F(ImageLoaderTest, LeadingUnderscoreMaskComesBeforeTrailingOneInTheSameFolder)
{
    Put("pics/door.png", mPng);
    Put("pics/_door.png", Mask3x2({9, 9, 9, 9, 9, 9}));
    Put("pics/door_.png", Mask3x2({7, 7, 7, 7, 7, 7}));
    Put("_pics/door.png", Mask3x2({5, 5, 5, 5, 5, 5}));
    for (const char* name : {"pics\\door", "pics/door"}) {
        auto image = GetImage(name, true);
        ASSERT_NE(image, nullptr) << name;
        EXPECT_EQ(image->bits[0] >> 24, 9u) << name;
    }
}

TEST_F(ImageLoaderTest, MaskOfAnotherSizeLeavesTheImageAlone)
{
    Put("door.png", mPng);
    Put("_door.png", PngOfWords(2, 3, std::vector<uint32_t>(6, 0)));
    auto image = GetImage("door", true);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(PixelsOf(*image), kPngWords);
}

TEST_F(ImageLoaderTest, MaskAloneIsColouredWithThisThreadsAlphaColor)
{
    Put("_mask.png", Mask3x2({0x00, 0x10, 0x20, 0x30, 0x40, 0xFF}));
    auto image = GetImage("mask", true);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(PixelsOf(*image), (std::vector<uint32_t>{0x00FFFFFF, 0x10FFFFFF, 0x20FFFFFF, 0x30FFFFFF, 0x40FFFFFF,
                                                      0xFFFFFFFF}));

    Tandry::gAlphaColor = 0x123456;
    std::vector<uint32_t> elsewhere;
    std::thread loader([&elsewhere] {
        auto other = GetImage("mask", true);
        if (other != nullptr)
            elsewhere = PixelsOf(*other);
    });
    loader.join();
    image = GetImage("mask", true);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->bits[1], 0x10123456u);
    ASSERT_EQ(elsewhere.size(), 6u);
    EXPECT_EQ(elsewhere[1], 0x10FFFFFFu) << "another thread keeps its own colour";

    EXPECT_EQ(GetImage("mask", false), nullptr);
}

} // namespace
