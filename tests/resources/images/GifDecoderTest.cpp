#include "resources/images/ImageDecoders.h"
#include "resources/images/ImageTestFiles.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using Tandry::ImageLib::DecodeGif;
using Tandry::ImageLib::Image;
using namespace ImageTest;

const std::vector<uint32_t> kFourColors = {0xFFFFFF, 0xFF0000, 0x0000FF, 0x000000};

std::unique_ptr<Image> Decode(const Bytes& bytes)
{
    return DecodeGif(bytes.data(), bytes.size(), "test.gif");
}

// Words the decoder should give for indices into `table`.
std::vector<uint32_t> Expected(const std::vector<int>& indices, const std::vector<uint32_t>& table)
{
    std::vector<uint32_t> words;
    for (int index : indices)
        words.push_back(0xFF000000u | table[index]);
    return words;
}

GifLayout Layout(int width, int height, const std::vector<uint32_t>& table, int minimumCodeSize, Bytes data)
{
    GifLayout layout;
    layout.width = width;
    layout.height = height;
    layout.globalTable = table;
    layout.minimumCodeSize = minimumCodeSize;
    layout.data = std::move(data);
    return layout;
}

GifLayout Simple(int width, int height, const std::vector<int>& indices)
{
    return Layout(width, height, kFourColors, 2, GifLzwData(indices, 2));
}

TEST(GifDecoder, DecodesAFileMadeByAnotherEncoder)
{
    // A widely published 10 x 10 sample whose codes grow from 3 to 4 bits
    // mid-stream: it pins the code-width schedule to the one encoders use.
    const Bytes file = {0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x0A, 0x00, 0x0A, 0x00, 0x91, 0x00, 0x00, 0xFF,
                        0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x21, 0xF9, 0x04,
                        0x00, 0x00, 0x00, 0x00, 0x00, 0x2C, 0x00, 0x00, 0x00, 0x00, 0x0A, 0x00, 0x0A, 0x00,
                        0x00, 0x02, 0x16, 0x8C, 0x2D, 0x99, 0x87, 0x2A, 0x1C, 0xDC, 0x33, 0xA0, 0x02, 0x75,
                        0xEC, 0x95, 0xFA, 0xA8, 0xDE, 0x60, 0x8C, 0x04, 0x91, 0x4C, 0x01, 0x00, 0x3B};
    const std::vector<int> indices = {
        1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2,
        1, 1, 1, 0, 0, 0, 0, 2, 2, 2, 1, 1, 1, 0, 0, 0, 0, 2, 2, 2, 2, 2, 2, 0, 0, 0, 0, 1, 1, 1,
        2, 2, 2, 0, 0, 0, 0, 1, 1, 1, 2, 2, 2, 2, 2, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 1, 1, 1, 1, 1,
        2, 2, 2, 2, 2, 1, 1, 1, 1, 1};
    auto image = Decode(file);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, 10);
    EXPECT_EQ(image->height, 10);
    EXPECT_EQ(PixelsOf(*image), Expected(indices, kFourColors));
}

TEST(GifDecoder, RoundTripsAFullCodeTableThroughClears)
{
    // Enough varied pixels to fill the 4096-entry table several times.
    std::vector<uint32_t> table;
    for (uint32_t i = 0; i < 256; ++i)
        table.push_back(i * 0x010203u & 0xFFFFFF);
    std::vector<int> indices;
    uint32_t state = 12345;
    for (int i = 0; i < 97 * 61; ++i) {
        state = state * 1103515245u + 12345u;
        indices.push_back(static_cast<int>((state >> 16) % (i % 3 == 0 ? 256 : 7)));
    }
    auto image = Decode(MakeGif(Layout(97, 61, table, 8, GifLzwData(indices, 8))));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(PixelsOf(*image), Expected(indices, table));
}

TEST(GifDecoder, GraphicControlTransparencyClearsThatIndexOnly)
{
    std::vector<uint32_t> table = {1, 2, 3, 4, 5, 6, 7, 8};
    const std::vector<int> indices = {5, 1, 5, 7, 0, 5, 5, 2};
    GifLayout layout = Layout(4, 2, table, 3, GifLzwData(indices, 3));
    layout.beforeImage = {0x21, 0xF9, 4, 0x01, 0, 0, 5, 0};
    auto image = Decode(MakeGif(layout));
    ASSERT_NE(image, nullptr);
    std::vector<uint32_t> expected = Expected(indices, table);
    for (size_t i = 0; i < indices.size(); ++i)
        if (indices[i] == 5)
            expected[i] = 0;
    EXPECT_EQ(PixelsOf(*image), expected);
}

TEST(GifDecoder, InterlacedRowsArriveInFourPasses)
{
    // Row i of the data is coloured i, so each image row shows which came when.
    std::vector<uint32_t> table(16);
    for (uint32_t i = 0; i < 16; ++i)
        table[i] = 0x100000 * i + i;
    std::vector<int> indices;
    for (int row = 0; row < 10; ++row)
        indices.insert(indices.end(), 3, row);
    GifLayout layout = Layout(3, 10, table, 4, GifLzwData(indices, 4));
    layout.interlaced = true;
    auto image = Decode(MakeGif(layout));
    ASSERT_NE(image, nullptr);
    const int rowOrder[10] = {0, 8, 4, 2, 6, 1, 3, 5, 7, 9};
    for (int dataRow = 0; dataRow < 10; ++dataRow)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(image->bits[rowOrder[dataRow] * 3 + x], 0xFF000000u | table[dataRow])
                << "data row " << dataRow;
}

TEST(GifDecoder, LocalTableReplacesTheGlobalOne)
{
    GifLayout layout = Simple(2, 1, {0, 1});
    layout.localTable = {0x123456, 0x654321};
    auto image = Decode(MakeGif(layout));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(PixelsOf(*image), (std::vector<uint32_t>{0xFF123456, 0xFF654321}));
}

TEST(GifDecoder, RefusesFilesWithoutAUsableImage)
{
    struct Case {
        const char* name;
        GifLayout layout;
    };
    std::vector<Case> cases;
    cases.push_back({"unknown version", Simple(2, 1, {0, 1})});
    cases.back().layout.signature = "GIF88a";
    cases.push_back({"no image descriptor", Simple(2, 1, {0, 1})});
    cases.back().layout.withDescriptor = false;
    cases.push_back({"width 0", Simple(0, 1, {0})});
    cases.push_back({"height 0", Simple(1, 0, {0})});
    cases.push_back({"code size 12", Simple(2, 1, {0, 1})});
    cases.back().layout.minimumCodeSize = 12;
    cases.push_back({"more pixels than allowed", Simple(65535, 65535, {0})});
    for (const Case& c : cases)
        EXPECT_EQ(Decode(MakeGif(c.layout)), nullptr) << c.name;

    const Bytes whole = MakeGif(Simple(2, 1, {0, 1}));
    for (size_t cut : {0, 5, 12, 20, 33})
        EXPECT_EQ(Decode(Bytes(whole.begin(), whole.begin() + static_cast<long>(cut))), nullptr)
            << "cut at " << cut;
}

TEST(GifDecoder, IndicesBeyondTheTableGiveTransparentBlack)
{
    GifLayout layout = Simple(4, 1, {0, 3, 4, 7});
    layout.globalTable = {0xAAAAAA, 0xBBBBBB, 0xCCCCCC, 0xDDDDDD};
    layout.minimumCodeSize = 3;
    layout.data = GifLzwData({0, 3, 4, 7}, 3);
    auto image = Decode(MakeGif(layout));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(PixelsOf(*image), (std::vector<uint32_t>{0xFFAAAAAA, 0xFFDDDDDD, 0, 0}));

    layout.globalTable.clear();
    image = Decode(MakeGif(layout));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(PixelsOf(*image), (std::vector<uint32_t>(4, 0)));
}

TEST(GifDecoder, PixelsTheDataNeverReachStayTransparentBlack)
{
    GifLayout layout = Simple(3, 2, {1, 2});
    auto image = Decode(MakeGif(layout));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(PixelsOf(*image), (std::vector<uint32_t>{0xFFFF0000, 0xFF0000FF, 0, 0, 0, 0}));

    // Data cut inside a sub-block, with no terminator and no trailer.
    layout = Simple(8, 8, std::vector<int>(64, 1));
    Bytes file = MakeGif(layout);
    file.resize(file.size() - 4);
    image = Decode(file);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->bits[0], 0xFFFF0000u);
    EXPECT_EQ(image->bits[63], 0u);
}

TEST(GifDecoder, OutputStopsAtTheImageSize)
{
    // Sixteen pixels of data for a 2 x 2 image: the rest must go nowhere.
    auto image = Decode(MakeGif(Simple(2, 2, std::vector<int>(4 * 4, 2))));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(PixelsOf(*image), (std::vector<uint32_t>(4, 0xFF0000FF)));

    // The same with one code that expands to more than the whole image.
    image = Decode(MakeGif([] {
        GifLayout layout = Simple(2, 1, {});
        layout.data = GifCodeData({4, 2, 6, 7, 8, 9, 5}, 2);
        return layout;
    }()));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(PixelsOf(*image), (std::vector<uint32_t>(2, 0xFF0000FF)));
}

TEST(GifDecoder, FirstCodeAfterAResetMustBeALiteral)
{
    // Code 6 (the next free code) and code 7 (beyond it) right after a clear
    // name entries that do not exist: the image ends with nothing drawn.
    for (int bad : {6, 7}) {
        GifLayout layout = Simple(2, 1, {});
        layout.data = GifCodeData({4, bad, 1, 1, 5}, 2);
        auto image = Decode(MakeGif(layout));
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(PixelsOf(*image), (std::vector<uint32_t>(2, 0))) << "code " << bad;
    }
    // A clear straight after a clear is fine.
    GifLayout layout = Simple(2, 1, {});
    layout.data = GifCodeData({4, 4, 1, 2, 5}, 2);
    auto image = Decode(MakeGif(layout));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(PixelsOf(*image), (std::vector<uint32_t>{0xFFFF0000, 0xFF0000FF}));
}

TEST(GifDecoder, ShortGraphicControlBlockSetsNoTransparency)
{
    // Three data bytes: the fourth would be the block terminator (0), which
    // would wrongly make index 0 transparent.
    GifLayout layout = Simple(2, 1, {0, 0});
    layout.beforeImage = {0x21, 0xF9, 3, 0x01, 0, 0, 0};
    auto image = Decode(MakeGif(layout));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(PixelsOf(*image), (std::vector<uint32_t>(2, 0xFFFFFFFF)));
}

TEST(GifDecoder, LongestPossibleCodeChainFitsTheOutputStack)
{
    // Each code names the entry about to be made, so entry n spells n - 256
    // pixels and the last one, 4095, the longest string the table can hold.
    std::vector<int> codes = {256, 0};
    for (int code = 258; code < 4096; ++code)
        codes.push_back(code);
    codes.push_back(257);
    // 1 + 2 + ... + 3839 pixels = 3839 x 1920
    auto image = Decode(MakeGif(Layout(3839, 1920, std::vector<uint32_t>(256, 0x777777), 8, GifCodeData(codes, 8))));
    ASSERT_NE(image, nullptr);
    const size_t count = static_cast<size_t>(image->width) * image->height;
    size_t filled = 0;
    for (size_t i = 0; i < count; ++i)
        filled += image->bits[i] == 0xFF777777u;
    EXPECT_EQ(filled, count);
}

} // namespace
