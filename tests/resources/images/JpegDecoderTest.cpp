#include "resources/images/ImageDecoders.h"
#include "resources/images/ImageTestFiles.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

namespace {

using Tandry::ImageLib::DecodeJpeg;
using Tandry::ImageLib::Image;
using namespace ImageTest;

std::unique_ptr<Image> Decode(const Bytes& bytes)
{
    return DecodeJpeg(bytes.data(), bytes.size(), "test.jpg");
}

// Samples with gradients and some texture, so that every block holds detail.
std::vector<uint8_t> Picture(int width, int height, int channels)
{
    std::vector<uint8_t> samples;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < channels; ++c)
                samples.push_back(static_cast<uint8_t>(x * 5 + y * 3 + c * 70 + (x * y * (c + 1)) % 23));
    return samples;
}

// What plain libjpeg makes of the file, as words built by hand from its
// grey or RGB output.
std::vector<uint32_t> BareDecode(const Bytes& file, bool grey)
{
    jpeg_decompress_struct decoder{};
    jpeg_error_mgr errors{};
    decoder.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&decoder);
    jpeg_mem_src(&decoder, file.data(), static_cast<unsigned long>(file.size()));
    jpeg_read_header(&decoder, TRUE);
    decoder.out_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_start_decompress(&decoder);
    const int channels = decoder.output_components;
    std::vector<uint8_t> row(static_cast<size_t>(decoder.output_width) * channels);
    std::vector<uint32_t> words;
    while (decoder.output_scanline < decoder.output_height) {
        JSAMPROW rows[1] = {row.data()};
        jpeg_read_scanlines(&decoder, rows, 1);
        for (size_t x = 0; x < decoder.output_width; ++x) {
            const uint8_t* s = row.data() + x * channels;
            words.push_back(grey ? 0xFF000000u | s[0] * 0x010101u
                                 : 0xFF000000u | uint32_t{s[0]} << 16 | uint32_t{s[1]} << 8 | s[2]);
        }
    }
    jpeg_finish_decompress(&decoder);
    jpeg_destroy_decompress(&decoder);
    return words;
}

TEST(JpegDecoder, ColourAndGreyGiveTheLibrarysSamplesAsOpaqueWords)
{
    for (bool grey : {false, true}) {
        const Bytes file = MakeJpeg(37, 21, grey ? JpegKind::Grey : JpegKind::Rgb, Picture(37, 21, grey ? 1 : 3), false);
        auto image = Decode(file);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->width, 37);
        EXPECT_EQ(image->height, 21);
        EXPECT_EQ(PixelsOf(*image), BareDecode(file, grey)) << (grey ? "grey" : "colour");
    }
}

TEST(JpegDecoder, ProgressiveFileDecodesLikeItsBaselineTwin)
{
    const std::vector<uint8_t> samples = Picture(40, 24, 3);
    auto baseline = Decode(MakeJpeg(40, 24, JpegKind::Rgb, samples, false));
    auto progressive = Decode(MakeJpeg(40, 24, JpegKind::Rgb, samples, true));
    ASSERT_NE(baseline, nullptr);
    ASSERT_NE(progressive, nullptr);
    EXPECT_EQ(PixelsOf(*baseline), PixelsOf(*progressive));
}

TEST(JpegDecoder, CmykFileIsRefused)
{
    DebugCapture debug;
    EXPECT_EQ(Decode(MakeJpeg(8, 8, JpegKind::Cmyk, Picture(8, 8, 4), false)), nullptr);
    EXPECT_FALSE(debug.Text().empty());
}

TEST(JpegDecoder, FileCutInItsScanDataGivesAFullImageAndAMessage)
{
    const Bytes whole = MakeJpeg(64, 64, JpegKind::Rgb, Picture(64, 64, 3), false);
    const Bytes cut(whole.begin(), whole.begin() + static_cast<long>(whole.size() * 2 / 3));
    DebugCapture debug;
    auto image = Decode(cut);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, 64);
    EXPECT_EQ(image->height, 64);
    EXPECT_NE(debug.Text().find("test.jpg: JPEG: "), std::string::npos) << debug.Text();
    // The decoded top rows match the whole file's.
    auto full = Decode(whole);
    ASSERT_NE(full, nullptr);
    EXPECT_EQ(image->bits[0], full->bits[0]);
}

TEST(JpegDecoder, RefusesEmptyForeignAndOversizedInput)
{
    DebugCapture debug;
    EXPECT_EQ(Decode({}), nullptr);
    EXPECT_NE(debug.Text().find("Empty input file"), std::string::npos) << debug.Text();
    EXPECT_EQ(Decode({'G', 'I', 'F', '8', '9', 'a', 0, 0}), nullptr);

    // A frame header claiming 60000 x 60000 pixels, the data cut just after the scan header.
    Bytes lying = MakeJpeg(8, 8, JpegKind::Grey, Picture(8, 8, 1), false);
    for (size_t at = 2; at + 9 < lying.size(); ++at) {
        if (lying[at] == 0xFF && lying[at + 1] == 0xC0) {
            lying[at + 5] = 0xEA;
            lying[at + 6] = 0x60;
            lying[at + 7] = 0xEA;
            lying[at + 8] = 0x60;
        }
        if (lying[at] == 0xFF && lying[at + 1] == 0xDA) {
            lying.resize(at + 2 + (size_t{lying[at + 2]} << 8 | lying[at + 3]) + 4);
            break;
        }
    }
    EXPECT_EQ(Decode(lying), nullptr);
    EXPECT_NE(debug.Text().find("too large"), std::string::npos) << debug.Text();
}

} // namespace
