#include "resources/images/ImageDecoders.h"
#include "resources/images/ImageTestFiles.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include <zlib.h>

namespace {

using Tandry::ImageLib::DecodePng;
using Tandry::ImageLib::Image;
using namespace ImageTest;

std::unique_ptr<Image> Decode(const Bytes& bytes, size_t piece = 4096)
{
    MemoryInput input(bytes, piece);
    return DecodePng(input.Source(), "test.png");
}

PngLayout Layout(int width, int height, int colorType, int bitDepth, std::vector<uint16_t> samples)
{
    PngLayout layout;
    layout.width = width;
    layout.height = height;
    layout.colorType = colorType;
    layout.bitDepth = bitDepth;
    layout.samples = std::move(samples);
    return layout;
}

TEST(PngDecoder, EveryColourTypeBecomesArgbWords)
{
    struct Case {
        const char* name;
        PngLayout layout;
        std::vector<uint32_t> expected;
    };
    std::vector<Case> cases;
    {
        PngLayout palette = Layout(4, 1, PNG_COLOR_TYPE_PALETTE, 8, {0, 1, 2, 3});
        palette.palette = {{10, 20, 30}, {40, 50, 60}, {70, 80, 90}, {100, 110, 120}};
        palette.paletteAlpha = {0, 128}; // entries past the tRNS list stay opaque
        cases.push_back({"palette with tRNS", palette, {0x000A141E, 0x8028323C, 0xFF46505A, 0xFF646E78}});
        palette.paletteAlpha.clear();
        cases.push_back({"palette", palette, {0xFF0A141E, 0xFF28323C, 0xFF46505A, 0xFF646E78}});
        PngLayout small = Layout(3, 1, PNG_COLOR_TYPE_PALETTE, 2, {2, 0, 1});
        small.palette = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}};
        cases.push_back({"2-bit palette", small, {0xFF070809, 0xFF010203, 0xFF040506}});
    }
    cases.push_back({"grey 1 bit", Layout(3, 1, PNG_COLOR_TYPE_GRAY, 1, {1, 0, 1}),
                     {0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF}});
    cases.push_back({"grey 2 bits", Layout(4, 1, PNG_COLOR_TYPE_GRAY, 2, {0, 1, 2, 3}),
                     {0xFF000000, 0xFF555555, 0xFFAAAAAA, 0xFFFFFFFF}});
    cases.push_back({"grey 4 bits", Layout(3, 1, PNG_COLOR_TYPE_GRAY, 4, {0, 7, 15}),
                     {0xFF000000, 0xFF777777, 0xFFFFFFFF}});
    cases.push_back({"grey 8 bits", Layout(2, 1, PNG_COLOR_TYPE_GRAY, 8, {0x12, 0xFE}), {0xFF121212, 0xFFFEFEFE}});
    {
        PngLayout keyed = Layout(2, 1, PNG_COLOR_TYPE_GRAY, 8, {0x12, 0x34});
        keyed.transparentColor = {0x34};
        cases.push_back({"grey with tRNS", keyed, {0xFF121212, 0x00343434}});
    }
    cases.push_back({"grey with alpha", Layout(2, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, {0x40, 0x80, 0xC0, 0x00}),
                     {0x80404040, 0x00C0C0C0}});
    cases.push_back({"RGB", Layout(2, 1, PNG_COLOR_TYPE_RGB, 8, {1, 2, 3, 0xFA, 0xFB, 0xFC}),
                     {0xFF010203, 0xFFFAFBFC}});
    {
        PngLayout keyed = Layout(2, 1, PNG_COLOR_TYPE_RGB, 8, {1, 2, 3, 4, 5, 6});
        keyed.transparentColor = {4, 5, 6};
        cases.push_back({"RGB with tRNS", keyed, {0xFF010203, 0x00040506}});
    }
    cases.push_back({"RGBA", Layout(1, 2, PNG_COLOR_TYPE_RGB_ALPHA, 8, {0xFF, 0, 0, 0x80, 1, 2, 3, 4}),
                     {0x80FF0000, 0x04010203}});
    cases.push_back({"16-bit RGBA keeps the high bytes",
                     Layout(2, 1, PNG_COLOR_TYPE_RGB_ALPHA, 16,
                            {0x12FF, 0x3400, 0x56AB, 0x78CD, 0xFFFF, 0x0001, 0x8080, 0x00FF}),
                     {0x78123456, 0x00FF0080}});
    cases.push_back({"16-bit grey", Layout(1, 1, PNG_COLOR_TYPE_GRAY, 16, {0xABCD}), {0xFFABABAB}});

    for (const Case& c : cases) {
        auto image = Decode(MakePng(c.layout));
        ASSERT_NE(image, nullptr) << c.name;
        EXPECT_EQ(image->width, c.layout.width) << c.name;
        EXPECT_EQ(image->height, c.layout.height) << c.name;
        EXPECT_EQ(PixelsOf(*image), c.expected) << c.name;
    }
}

TEST(PngDecoder, InterlacedFileGivesTheSameWordsAsThePlainOne)
{
    // Odd sizes so every Adam7 pass has partial blocks; 16 bits on top.
    const int width = 13;
    const int height = 11;
    std::vector<uint16_t> samples;
    for (int i = 0; i < width * height * 4; ++i)
        samples.push_back(static_cast<uint16_t>(i * 2654435761u >> 7));
    for (int depth : {8, 16}) {
        std::vector<uint16_t> scaled = samples;
        if (depth == 8)
            for (auto& s : scaled)
                s &= 0xFF;
        PngLayout plain = Layout(width, height, PNG_COLOR_TYPE_RGB_ALPHA, depth, scaled);
        PngLayout interlaced = plain;
        interlaced.interlaced = true;
        auto a = Decode(MakePng(plain));
        auto b = Decode(MakePng(interlaced));
        ASSERT_NE(a, nullptr);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(PixelsOf(*a), PixelsOf(*b)) << depth << " bits";
        EXPECT_EQ(a->bits[width + 1], (uint32_t{scaled[(width + 1) * 4 + 3]} >> (depth - 8)) << 24
                                          | (uint32_t{scaled[(width + 1) * 4]} >> (depth - 8)) << 16
                                          | (uint32_t{scaled[(width + 1) * 4 + 1]} >> (depth - 8)) << 8
                                          | (uint32_t{scaled[(width + 1) * 4 + 2]} >> (depth - 8)));
    }
}

TEST(PngDecoder, ReadsThroughShortReads)
{
    PngLayout layout = Layout(3, 2, PNG_COLOR_TYPE_RGB, 8, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18});
    auto image = Decode(MakePng(layout), 3);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->bits[5], 0xFF101112u);
}

// Offset of the first byte of the named chunk's data.
size_t ChunkData(const Bytes& file, const char* type)
{
    for (size_t at = 8; at + 8 <= file.size();) {
        size_t length = size_t{file[at]} << 24 | size_t{file[at + 1]} << 16 | size_t{file[at + 2]} << 8 | file[at + 3];
        if (std::equal(type, type + 4, file.begin() + static_cast<long>(at + 4)))
            return at + 8;
        at += 12 + length;
    }
    return 0;
}

TEST(PngDecoder, RefusesDamagedFiles)
{
    std::vector<uint16_t> samples;
    for (int i = 0; i < 32 * 32 * 3; ++i)
        samples.push_back(static_cast<uint16_t>(i * 7 % 251));
    const Bytes good = MakePng(Layout(32, 32, PNG_COLOR_TYPE_RGB, 8, samples));
    ASSERT_NE(Decode(good), nullptr);
    const size_t idat = ChunkData(good, "IDAT");
    ASSERT_GT(idat, 0u);

    struct Case {
        const char* name;
        Bytes file;
    };
    std::vector<Case> cases;
    cases.push_back({"empty", {}});
    cases.push_back({"signature only", Bytes(good.begin(), good.begin() + 8)});
    cases.push_back({"cut inside IDAT", Bytes(good.begin(), good.begin() + static_cast<long>(idat + 20))});
    cases.push_back({"cut before IEND", Bytes(good.begin(), good.end() - 12)});
    Bytes badHeaderCrc = good;
    badHeaderCrc[ChunkData(good, "IHDR") + 13] ^= 0x01;
    cases.push_back({"IHDR CRC", badHeaderCrc});
    Bytes badDataCrc = good;
    const size_t idatLength = size_t{good[idat - 6]} << 8 | good[idat - 5];
    badDataCrc[idat + idatLength + 3] ^= 0x40;
    cases.push_back({"IDAT CRC", badDataCrc});
    Bytes notPng = good;
    notPng[1] = 'X';
    cases.push_back({"signature", notPng});
    for (const Case& c : cases)
        EXPECT_EQ(Decode(c.file), nullptr) << c.name;
}

TEST(PngDecoder, RefusesImagesAboveThePixelLimitBeforeAllocating)
{
    // A valid header claiming 2^14 x 2^13 pixels (twice the limit) and almost no data.
    Bytes file = MakePng(Layout(1, 1, PNG_COLOR_TYPE_GRAY, 8, {0}));
    const size_t ihdr = ChunkData(file, "IHDR");
    file[ihdr + 2] = 0x40; // width 0x4000
    file[ihdr + 3] = 0x00;
    file[ihdr + 6] = 0x20; // height 0x2000
    file[ihdr + 7] = 0x00;
    uint32_t crc = static_cast<uint32_t>(crc32(0, file.data() + ihdr - 4, 17));
    for (int i = 0; i < 4; ++i)
        file[ihdr + 13 + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
    DebugCapture debug;
    EXPECT_EQ(Decode(file), nullptr);
    EXPECT_NE(debug.Text().find("too large"), std::string::npos) << debug.Text();
}

} // namespace
