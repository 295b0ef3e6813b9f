#include "resources/images/ImageDecoders.h"
#include "resources/images/ImageTestFiles.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using Tandry::ImageLib::DecodeTga;
using Tandry::ImageLib::Image;
using namespace ImageTest;

std::unique_ptr<Image> Decode(const Bytes& bytes, size_t piece = 4096)
{
    MemoryInput input(bytes, piece);
    return DecodeTga(input.Source(), bytes.size(), "test.tga");
}

const std::vector<uint32_t> kFour = {0x80FF0000, 0x0000FF00, 0xFF0000FF, 0x12345678};

TEST(TgaDecoder, TopLeftThirtyTwoBitFileGivesTheWordsAsStored)
{
    auto image = Decode(MakeTga(2, 2, 32, 0x28, kFour), 5);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, 2);
    EXPECT_EQ(image->height, 2);
    EXPECT_EQ(std::vector<uint32_t>(image->bits, image->bits + 4), kFour);
}

TEST(TgaDecoder, RefusesOtherLayoutsAndShortFiles)
{
    struct Case {
        const char* name;
        Bytes file;
    };
    Bytes shortFile = MakeTga(2, 2, 32, 0x28, kFour);
    shortFile.pop_back();
    Bytes rgb = MakeTga(2, 2, 24, 0x20, {});
    rgb.resize(rgb.size() + 12);
    const Case cases[] = {
        {"24-bit", rgb},
        {"bottom-up origin", MakeTga(2, 2, 32, 0x08, kFour)},
        {"one byte short", shortFile},
        {"header only", MakeTga(2, 2, 32, 0x28, {})},
        {"width 0", MakeTga(0, 2, 32, 0x28, kFour)},
        {"height 0", MakeTga(2, 0, 32, 0x28, kFour)},
        {"header cut", Bytes(10, 0)},
        {"empty", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Decode(c.file), nullptr) << c.name;
}

} // namespace
