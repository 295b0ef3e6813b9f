#include "resources/images/ImageTestFiles.h"

#include "platform/debug/DebugOutput.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <stdexcept>
#include <utility>

#include <jpeglib.h>

namespace ImageTest {
namespace {

int ChannelsOf(int colorType)
{
    switch (colorType) {
    case PNG_COLOR_TYPE_GRAY:
    case PNG_COLOR_TYPE_PALETTE:
        return 1;
    case PNG_COLOR_TYPE_GRAY_ALPHA:
        return 2;
    case PNG_COLOR_TYPE_RGB:
        return 3;
    default:
        return 4;
    }
}

// Packs samples into libpng's row layout: big-endian 16-bit, or several
// samples to a byte, first sample in the high bits.
std::vector<uint8_t> PackRow(const PngLayout& layout, int y)
{
    const int channels = ChannelsOf(layout.colorType);
    const size_t perRow = static_cast<size_t>(layout.width) * channels;
    const uint16_t* samples = layout.samples.data() + perRow * y;
    std::vector<uint8_t> row;
    if (layout.bitDepth == 16) {
        for (size_t i = 0; i < perRow; ++i) {
            row.push_back(static_cast<uint8_t>(samples[i] >> 8));
            row.push_back(static_cast<uint8_t>(samples[i]));
        }
    } else if (layout.bitDepth == 8) {
        for (size_t i = 0; i < perRow; ++i)
            row.push_back(static_cast<uint8_t>(samples[i]));
    } else {
        const int perByte = 8 / layout.bitDepth;
        row.assign((perRow + perByte - 1) / perByte, 0);
        for (size_t i = 0; i < perRow; ++i) {
            int shift = 8 - layout.bitDepth * (1 + static_cast<int>(i % perByte));
            row[i / perByte] |= static_cast<uint8_t>(samples[i] << shift);
        }
    }
    return row;
}

void WriteToBytes(png_structp png, png_bytep data, png_size_t length)
{
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

struct PngMaking {
    png_structp png = nullptr;
    png_infop info = nullptr;
    Bytes out;
    std::vector<std::vector<uint8_t>> rows;
    std::vector<png_bytep> rowPointers;
};

bool RunPngMaking(PngMaking& making, const PngLayout& layout)
{
    if (setjmp(png_jmpbuf(making.png)))
        return false;
    png_set_write_fn(making.png, &making.out, &WriteToBytes, nullptr);
    png_set_IHDR(making.png, making.info, layout.width, layout.height, layout.bitDepth, layout.colorType,
                 layout.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!layout.palette.empty())
        png_set_PLTE(making.png, making.info, layout.palette.data(), static_cast<int>(layout.palette.size()));
    if (!layout.paletteAlpha.empty())
        png_set_tRNS(making.png, making.info, layout.paletteAlpha.data(),
                     static_cast<int>(layout.paletteAlpha.size()), nullptr);
    if (!layout.transparentColor.empty()) {
        png_color_16 color{};
        color.gray = layout.transparentColor[0];
        if (layout.transparentColor.size() == 3) {
            color.red = layout.transparentColor[0];
            color.green = layout.transparentColor[1];
            color.blue = layout.transparentColor[2];
        }
        png_set_tRNS(making.png, making.info, nullptr, 0, &color);
    }
    png_write_info(making.png, making.info);
    png_write_image(making.png, making.rowPointers.data());
    png_write_end(making.png, nullptr);
    return true;
}

struct JpegMemory {
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
};

// Codes into sub-blocks, each at the width the decoder will read it with.
class CodePacker {
public:
    explicit CodePacker(int minimumCodeSize) : mMinimum(minimumCodeSize) { Reset(); }

    void Put(int code)
    {
        mBits |= static_cast<uint32_t>(code) << mBitCount;
        mBitCount += mWidth;
        while (mBitCount >= 8) {
            mBytes.push_back(static_cast<uint8_t>(mBits));
            mBits >>= 8;
            mBitCount -= 8;
        }
        const int clear = 1 << mMinimum;
        if (code == clear) {
            Reset();
        } else if (code == clear + 1) {
        } else if (mFresh) {
            mFresh = false;
        } else if (mNext < 4096) {
            ++mNext;
            if ((mNext & ((1 << mWidth) - 1)) == 0 && mNext < 4096)
                ++mWidth;
        }
    }

    Bytes Finish()
    {
        if (mBitCount > 0)
            mBytes.push_back(static_cast<uint8_t>(mBits));
        Bytes out;
        for (size_t at = 0; at < mBytes.size(); at += 255) {
            size_t count = std::min<size_t>(255, mBytes.size() - at);
            out.push_back(static_cast<uint8_t>(count));
            out.insert(out.end(), mBytes.begin() + static_cast<long>(at), mBytes.begin() + static_cast<long>(at + count));
        }
        out.push_back(0);
        return out;
    }

private:
    void Reset()
    {
        mWidth = mMinimum + 1;
        mNext = (1 << mMinimum) + 2;
        mFresh = true;
    }

    int mMinimum;
    int mWidth = 0;
    int mNext = 0;
    bool mFresh = true;
    uint32_t mBits = 0;
    int mBitCount = 0;
    Bytes mBytes;
};

} // namespace

void Append16(Bytes& out, int value)
{
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

Bytes MakePng(const PngLayout& layout)
{
    PngMaking making;
    for (int y = 0; y < layout.height; ++y)
        making.rows.push_back(PackRow(layout, y));
    for (auto& row : making.rows)
        making.rowPointers.push_back(row.data());
    making.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    making.info = png_create_info_struct(making.png);
    bool made = RunPngMaking(making, layout);
    png_destroy_write_struct(&making.png, &making.info);
    if (!made)
        throw std::runtime_error("test PNG could not be made");
    return making.out;
}

Bytes PngOfWords(int width, int height, const std::vector<uint32_t>& words)
{
    PngLayout layout;
    layout.width = width;
    layout.height = height;
    for (uint32_t word : words)
        for (int shift : {16, 8, 0, 24})
            layout.samples.push_back(static_cast<uint16_t>(word >> shift & 0xFF));
    return MakePng(layout);
}

Bytes MakeJpeg(int width, int height, JpegKind kind, const std::vector<uint8_t>& samples, bool progressive,
               int quality)
{
    jpeg_compress_struct encoder{};
    jpeg_error_mgr errors{};
    encoder.err = jpeg_std_error(&errors); // a fault in a test fixture ends the test program
    jpeg_create_compress(&encoder);
    JpegMemory memory;
    jpeg_mem_dest(&encoder, &memory.buffer, &memory.size);
    encoder.image_width = static_cast<JDIMENSION>(width);
    encoder.image_height = static_cast<JDIMENSION>(height);
    encoder.input_components = kind == JpegKind::Rgb ? 3 : kind == JpegKind::Grey ? 1 : 4;
    encoder.in_color_space = kind == JpegKind::Rgb ? JCS_RGB : kind == JpegKind::Grey ? JCS_GRAYSCALE : JCS_CMYK;
    jpeg_set_defaults(&encoder);
    if (kind == JpegKind::Cmyk)
        jpeg_set_colorspace(&encoder, JCS_CMYK);
    jpeg_set_quality(&encoder, quality, TRUE);
    if (progressive)
        jpeg_simple_progression(&encoder);
    jpeg_start_compress(&encoder, TRUE);
    const size_t stride = static_cast<size_t>(width) * encoder.input_components;
    while (encoder.next_scanline < encoder.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(samples.data() + stride * encoder.next_scanline);
        jpeg_write_scanlines(&encoder, &row, 1);
    }
    jpeg_finish_compress(&encoder);
    Bytes out(memory.buffer, memory.buffer + memory.size);
    jpeg_destroy_compress(&encoder);
    std::free(memory.buffer);
    return out;
}

Bytes GifCodeData(const std::vector<int>& codes, int minimumCodeSize)
{
    CodePacker packer(minimumCodeSize);
    for (int code : codes)
        packer.Put(code);
    return packer.Finish();
}

Bytes GifLzwData(const std::vector<int>& indices, int minimumCodeSize)
{
    const int clear = 1 << minimumCodeSize;
    std::vector<int> codes{clear};
    std::map<std::pair<int, int>, int> table;
    int next = clear + 2;
    int current = indices.empty() ? -1 : indices[0];
    for (size_t i = 1; i < indices.size(); ++i) {
        auto found = table.find({current, indices[i]});
        if (found != table.end()) {
            current = found->second;
            continue;
        }
        codes.push_back(current);
        if (next < 4095) {
            table[{current, indices[i]}] = next++;
        } else {
            codes.push_back(clear);
            table.clear();
            next = clear + 2;
        }
        current = indices[i];
    }
    if (current >= 0)
        codes.push_back(current);
    codes.push_back(clear + 1);
    return GifCodeData(codes, minimumCodeSize);
}

Bytes MakeGif(const GifLayout& layout)
{
    Bytes out(layout.signature.begin(), layout.signature.end());
    auto tableBits = [](const std::vector<uint32_t>& table) {
        int bits = 0;
        while ((2u << bits) < table.size())
            ++bits;
        return bits;
    };
    auto appendTable = [&out](const std::vector<uint32_t>& table) {
        for (uint32_t color : table) {
            out.push_back(static_cast<uint8_t>(color >> 16));
            out.push_back(static_cast<uint8_t>(color >> 8));
            out.push_back(static_cast<uint8_t>(color));
        }
    };
    Append16(out, layout.width);
    Append16(out, layout.height);
    out.push_back(layout.globalTable.empty() ? 0 : static_cast<uint8_t>(0x80 | tableBits(layout.globalTable)));
    out.push_back(0);
    out.push_back(0);
    appendTable(layout.globalTable);
    out.insert(out.end(), layout.beforeImage.begin(), layout.beforeImage.end());
    if (layout.withDescriptor) {
        out.push_back(0x2C);
        Append16(out, 0);
        Append16(out, 0);
        Append16(out, layout.width);
        Append16(out, layout.height);
        uint8_t packed = layout.interlaced ? 0x40 : 0;
        if (!layout.localTable.empty())
            packed |= static_cast<uint8_t>(0x80 | tableBits(layout.localTable));
        out.push_back(packed);
        appendTable(layout.localTable);
        out.push_back(static_cast<uint8_t>(layout.minimumCodeSize));
        out.insert(out.end(), layout.data.begin(), layout.data.end());
    }
    out.push_back(0x3B);
    return out;
}

Bytes MakeTga(int width, int height, int depth, int descriptor, const std::vector<uint32_t>& pixels)
{
    Bytes out{0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    Append16(out, width);
    Append16(out, height);
    out.push_back(static_cast<uint8_t>(depth));
    out.push_back(static_cast<uint8_t>(descriptor));
    for (uint32_t pixel : pixels)
        for (int shift = 0; shift < 32; shift += 8)
            out.push_back(static_cast<uint8_t>(pixel >> shift));
    return out;
}

std::vector<uint32_t> PixelsOf(const Tandry::ImageLib::Image& image)
{
    return std::vector<uint32_t>(image.bits, image.bits + static_cast<size_t>(image.width) * image.height);
}

DebugCapture::DebugCapture()
{
    Platform::SetDebugSink([text = mText](const std::string& line) { *text += line; });
}

DebugCapture::~DebugCapture()
{
    Platform::SetDebugSink({});
}

std::string DebugCapture::Text() const
{
    return *mText;
}

size_t MemoryInput::Read(void* self, void* buffer, size_t count)
{
    auto* input = static_cast<MemoryInput*>(self);
    size_t n = std::min({count, input->mPiece, input->mBytes.size() - input->mAt});
    std::copy_n(input->mBytes.begin() + static_cast<long>(input->mAt), n, static_cast<uint8_t*>(buffer));
    input->mAt += n;
    return n;
}

} // namespace ImageTest
