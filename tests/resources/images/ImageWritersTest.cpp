#include "resources/images/ImageWriters.h"

#include "platform/fs/SafeWrite.h"
#include "resources/images/ImageTestFiles.h"
#include "resources/pak/PakTestSupport.h"

#include <gtest/gtest.h>

#include <csetjmp>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <png.h>

namespace {

using namespace Tandry;
using ImageLib::ImageView;
using namespace ImageTest;

class ImageWritersTest : public TestSupport::PakLayerTest {
protected:
    ~ImageWritersTest() override { Platform::SafeWrite::SetFaultForTests(Platform::SafeWrite::Fault::None); }
};

uint32_t Be32(const std::string& bytes, size_t at)
{
    return uint32_t{static_cast<uint8_t>(bytes[at])} << 24 | uint32_t{static_cast<uint8_t>(bytes[at + 1])} << 16
           | uint32_t{static_cast<uint8_t>(bytes[at + 2])} << 8 | static_cast<uint8_t>(bytes[at + 3]);
}

// The data of the first chunk of that type, or "" when there is none.
std::string Chunk(const std::string& file, const std::string& type)
{
    for (size_t at = 8; at + 8 <= file.size();) {
        const uint32_t length = Be32(file, at);
        if (file.compare(at + 4, 4, type) == 0)
            return file.substr(at + 8, length);
        at += 12 + length;
    }
    return "";
}

struct BareRead {
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::vector<uint8_t> row;
};

bool RunBareRead(BareRead& bare, std::FILE* file)
{
    if (setjmp(png_jmpbuf(bare.png)))
        return false;
    png_init_io(bare.png, file);
    png_read_info(bare.png, bare.info);
    bare.row.resize(png_get_rowbytes(bare.png, bare.info));
    png_read_row(bare.png, bare.row.data(), nullptr);
    return true;
}

// The first row's bytes as plain libpng gives them, without transformations.
std::vector<uint8_t> FirstRowByLibpng(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return {};
    BareRead bare;
    bare.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    bare.info = png_create_info_struct(bare.png);
    bool ok = RunBareRead(bare, file);
    png_destroy_read_struct(&bare.png, &bare.info, nullptr);
    std::fclose(file);
    return ok ? bare.row : std::vector<uint8_t>{};
}

TEST_F(ImageWritersTest, PngHoldsEightBitRgbaWithSignificantBits)
{
    const uint32_t red = 0x80FF0000;
    ASSERT_TRUE(SavePngToFile("red.png", {1, 1, &red}));
    const std::string file = TestSupport::ReadFile("red.png");
    const std::string header = Chunk(file, "IHDR");
    ASSERT_EQ(header.size(), 13u);
    EXPECT_EQ(Be32(header, 0), 1u);
    EXPECT_EQ(Be32(header, 4), 1u);
    EXPECT_EQ(header[8], 8) << "bit depth";
    EXPECT_EQ(header[9], 6) << "colour type RGBA";
    EXPECT_EQ(header[12], 0) << "no interlace";
    EXPECT_EQ(Chunk(file, "sBIT"), std::string(4, '\x08'));
    EXPECT_EQ(FirstRowByLibpng("red.png"), (std::vector<uint8_t>{0xFF, 0x00, 0x00, 0x80}));
    auto back = ImageLib::ReadPng("red.png");
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->bits[0], red);
}

TEST_F(ImageWritersTest, PngRoundTripsEveryWord)
{
    std::vector<uint32_t> words;
    for (uint32_t i = 0; i < 13 * 7; ++i)
        words.push_back(i * 2654435761u);
    ASSERT_TRUE(SavePngToFile("many.png", {13, 7, words.data()}));
    auto back = ImageLib::ReadPng("many.png");
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(std::vector<uint32_t>(back->bits, back->bits + words.size()), words);
}

TEST_F(ImageWritersTest, JpegHoldsThreeComponentsAndReadsBackNearlyRed)
{
    const uint32_t red = 0x80FF0000;
    ASSERT_TRUE(SaveJpegToFile("red.jpg", {1, 1, &red}));
    auto back = ImageLib::ReadJpeg("red.jpg");
    ASSERT_NE(back, nullptr);
    const uint32_t word = back->bits[0];
    EXPECT_EQ(word >> 24, 0xFFu);
    EXPECT_GE((word >> 16) & 0xFF, 0xF0u);
    EXPECT_LE((word >> 8) & 0xFF, 0x10u);
    EXPECT_LE(word & 0xFF, 0x10u);

    const std::string file = TestSupport::ReadFile("red.jpg");
    jpeg_decompress_struct decoder{};
    jpeg_error_mgr errors{};
    decoder.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&decoder);
    jpeg_mem_src(&decoder, reinterpret_cast<const unsigned char*>(file.data()), file.size());
    jpeg_read_header(&decoder, TRUE);
    EXPECT_EQ(decoder.num_components, 3);
    jpeg_destroy_decompress(&decoder);
}

TEST_F(ImageWritersTest, PathsGoThroughTheResolver)
{
    std::filesystem::create_directories("_Screenshots");
    const uint32_t pixel = 0xFF00FF00;
    ASSERT_TRUE(SavePngToFile("_screenshots\\image1.png", {1, 1, &pixel}));
    EXPECT_TRUE(std::filesystem::exists("_Screenshots/image1.png"));
}

TEST_F(ImageWritersTest, FailuresWriteNothingAndKeepTheOlderFile)
{
    const uint32_t pixel = 0xFF00FF00;
    const ImageView view{1, 1, &pixel};
    EXPECT_FALSE(SavePngToFile("missing/shot.png", view));
    EXPECT_FALSE(SaveJpegToFile("missing/shot.jpg", view));
    EXPECT_FALSE(std::filesystem::exists("missing"));

    TestSupport::WriteFile("keep/shot.png", "older");
    TestSupport::WriteFile("keep/shot.jpg", "older");
    for (auto fault : {Platform::SafeWrite::Fault::Write, Platform::SafeWrite::Fault::Rename}) {
        Platform::SafeWrite::SetFaultForTests(fault);
        EXPECT_FALSE(SavePngToFile("keep/shot.png", view));
        EXPECT_FALSE(SaveJpegToFile("keep/shot.jpg", view));
        EXPECT_FALSE(SavePngToFile("keep/new.png", view));
    }
    Platform::SafeWrite::SetFaultForTests(Platform::SafeWrite::Fault::None);
    EXPECT_EQ(TestSupport::ReadFile("keep/shot.png"), "older");
    EXPECT_EQ(TestSupport::ReadFile("keep/shot.jpg"), "older");
    EXPECT_EQ(TestSupport::NamesIn("keep"), (std::vector<std::string>{"shot.jpg", "shot.png"}));
}

TEST_F(ImageWritersTest, ImageWithoutPixelsWritesNothing)
{
    const uint32_t pixel = 0;
    EXPECT_FALSE(SavePngToFile("none.png", {0, 1, &pixel}));
    EXPECT_FALSE(SaveJpegToFile("none.jpg", {1, 1, nullptr}));
    EXPECT_TRUE(TestSupport::NamesIn(".").empty());
}

} // namespace
