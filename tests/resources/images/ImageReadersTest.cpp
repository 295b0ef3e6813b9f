#include "resources/images/ImageLib.h"
#include "resources/images/ImageTestFiles.h"
#include "resources/pak/PakTestSupport.h"

#include "platform/j2k/J2kCodec.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using Tandry::ImageLib::Image;
using namespace Tandry::ImageLib;
using namespace ImageTest;

using Reader = std::unique_ptr<Image> (*)(const std::string&);

std::string Fixture(const std::string& name)
{
    return TestSupport::ReadFile(std::string(MOORGLEN_TEST_DATA) + "/images/" + name);
}

struct Format {
    const char* extension;
    Reader read;
    std::string bytes;
};

std::vector<Format> OneFileOfEachFormat()
{
    auto text = [](const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); };
    std::vector<uint8_t> samples;
    for (int i = 0; i < 16 * 16 * 3; ++i)
        samples.push_back(static_cast<uint8_t>(i * 13));
    GifLayout gif;
    gif.width = 3;
    gif.height = 2;
    gif.globalTable = {0x102030, 0x405060, 0x708090, 0xA0B0C0};
    gif.data = GifLzwData({0, 1, 2, 3, 2, 1}, 2);
    return {
        {".tga", &ReadTga, text(MakeTga(2, 2, 32, 0x28, {1, 2, 3, 0x80FFFFFF}))},
        {".jpg", &ReadJpeg, text(MakeJpeg(16, 16, JpegKind::Rgb, samples, false))},
        {".png", &ReadPng, text(PngOfWords(2, 1, {0x80FF0000, 0x0000FF00}))},
        {".gif", &ReadGif, text(MakeGif(gif))},
        {".j2k", &ReadJ2k, Fixture("rgb.j2k")},
        {".jp2", &ReadJ2k, Fixture("rgb12.jp2")},
    };
}

using ImageReadersTest = TestSupport::PakLayerTest;

TEST_F(ImageReadersTest, PackMemberAndLooseFileGiveTheSameImage)
{
    const std::vector<Format> formats = OneFileOfEachFormat();
    TestSupport::PakFiles members;
    for (const Format& f : formats) {
        TestSupport::WriteFile(std::string("loose/pic") + f.extension, f.bytes);
        members.push_back({std::string("DATA\\PACKED\\PIC") + f.extension, f.bytes});
    }
    ASSERT_TRUE(mPak->AddPakMemory("test.pak", TestSupport::MakePack(members)));
    for (const Format& f : formats) {
        auto loose = f.read(std::string("loose/pic") + f.extension);
        auto packed = f.read(std::string("Data/Packed/pic") + f.extension);
        ASSERT_NE(loose, nullptr) << f.extension;
        ASSERT_NE(packed, nullptr) << f.extension;
        EXPECT_EQ(packed->width, loose->width) << f.extension;
        EXPECT_EQ(packed->height, loose->height) << f.extension;
        EXPECT_EQ(PixelsOf(*packed), PixelsOf(*loose)) << f.extension;
    }
}

TEST_F(ImageReadersTest, MissingFileIsSilentAndUnreadableFileSaysSo)
{
    for (const Format& f : OneFileOfEachFormat()) {
        DebugCapture debug;
        EXPECT_EQ(f.read(std::string("absent") + f.extension), nullptr) << f.extension;
        EXPECT_EQ(debug.Text(), "") << f.extension;

        const std::string name = std::string("cut") + f.extension;
        TestSupport::WriteFile(name, f.bytes.substr(0, 7));
        EXPECT_EQ(f.read(name), nullptr) << f.extension;
        EXPECT_NE(debug.Text().find(name + ": "), std::string::npos) << f.extension << ": " << debug.Text();
    }
}

TEST_F(ImageReadersTest, JpegTwoThousandIsRecognisedByContentAndOpaque)
{
    TestSupport::WriteFile("plain.j2k", Fixture("grey.j2k"));
    TestSupport::WriteFile("boxed.j2k", Fixture("jp2inside.j2k"));
    auto plain = ReadJ2k("plain.j2k");
    auto boxed = ReadJ2k("boxed.j2k");
    ASSERT_NE(plain, nullptr);
    ASSERT_NE(boxed, nullptr) << "a JP2 file named .j2k still loads";
    for (uint32_t word : PixelsOf(*plain)) {
        ASSERT_EQ(word >> 24, 0xFFu);
        ASSERT_EQ(word & 0xFF, (word >> 8) & 0xFF) << "grey";
    }
    EXPECT_EQ(boxed->width, 24);
    EXPECT_EQ(boxed->height, 16);
}

TEST_F(ImageReadersTest, JpegTwoThousandNeedsTheCodec)
{
    TestSupport::WriteFile("pic.j2k", Fixture("rgb.j2k"));
    TestSupport::WriteFile("pic.jp2", Fixture("rgb.jp2"));
    Platform::gJ2kCodecModule.store(nullptr);
    EXPECT_EQ(GetImage("pic.j2k", false), nullptr);
    EXPECT_EQ(GetImage("pic.jp2", false), nullptr);
    EXPECT_EQ(GetImage("pic", false), nullptr);
    Platform::ResetJ2kCodecModule();
    EXPECT_NE(GetImage("pic.j2k", false), nullptr);
    EXPECT_NE(GetImage("pic.jp2", false), nullptr);
}

TEST_F(ImageReadersTest, TruncatedCodestreamGivesNothing)
{
    const std::string whole = Fixture("rgb.j2k");
    TestSupport::WriteFile("cut.j2k", whole.substr(0, whole.size() * 3 / 4));
    DebugCapture debug;
    EXPECT_EQ(ReadJ2k("cut.j2k"), nullptr);
    EXPECT_NE(debug.Text().find("cut.j2k: JPEG 2000: "), std::string::npos) << debug.Text();
}

} // namespace
