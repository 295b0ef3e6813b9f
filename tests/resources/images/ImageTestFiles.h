// Small image files made in memory for the image tests: PNG and JPEG through
// the libraries with exactly the layout a test asks for, GIF from hand-built
// codes, TGA from its header fields.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <png.h>

#include "resources/images/ImageDecoders.h"

namespace ImageTest {

using Bytes = std::vector<uint8_t>;

struct PngLayout {
    int width = 1;
    int height = 1;
    int colorType = PNG_COLOR_TYPE_RGB_ALPHA;
    int bitDepth = 8;
    bool interlaced = false;
    // Samples row by row, channels of a pixel together (index for palette images).
    std::vector<uint16_t> samples;
    std::vector<png_color> palette;
    std::vector<uint8_t> paletteAlpha;   // tRNS of a palette image
    std::vector<uint16_t> transparentColor; // tRNS of a grey (1 value) or RGB (3) image
};
Bytes MakePng(const PngLayout& layout);
// An 8-bit RGBA file of 0xAARRGGBB words.
Bytes PngOfWords(int width, int height, const std::vector<uint32_t>& words);

enum class JpegKind { Rgb, Grey, Cmyk };
// Samples row by row: 3 a pixel for Rgb, 1 for Grey, 4 for Cmyk.
Bytes MakeJpeg(int width, int height, JpegKind kind, const std::vector<uint8_t>& samples, bool progressive,
               int quality = 95);

// GIF parts: the LZW data of the colour indices (sub-blocks and terminator,
// after the code-size byte) made by a plain LZW encoder, and the same for a
// hand-chosen code sequence.
Bytes GifLzwData(const std::vector<int>& indices, int minimumCodeSize);
Bytes GifCodeData(const std::vector<int>& codes, int minimumCodeSize);

struct GifLayout {
    std::string signature = "GIF89a";
    int width = 1;
    int height = 1;
    std::vector<uint32_t> globalTable; // 0xRRGGBB; size a power of two from 2
    std::vector<uint32_t> localTable;
    Bytes beforeImage;                 // extensions and stray bytes
    bool interlaced = false;
    bool withDescriptor = true;
    int minimumCodeSize = 2;
    Bytes data;                        // after the code-size byte
};
Bytes MakeGif(const GifLayout& layout);

// 18-byte header with the given depth and descriptor, then `pixels` as stored.
Bytes MakeTga(int width, int height, int depth, int descriptor, const std::vector<uint32_t>& pixels);

void Append16(Bytes& out, int value);

// The image's words, row by row.
std::vector<uint32_t> PixelsOf(const Tandry::ImageLib::Image& image);

// Collects what is sent to the debug output while it lives.
class DebugCapture {
public:
    DebugCapture();
    ~DebugCapture();
    std::string Text() const;

private:
    std::shared_ptr<std::string> mText = std::make_shared<std::string>();
};

// A decoder's input over bytes in memory, delivered in pieces of at most
// `piece` bytes so that readers that loop over short reads are exercised.
class MemoryInput {
public:
    explicit MemoryInput(const Bytes& bytes, size_t piece = 4096) : mBytes(bytes), mPiece(piece) {}
    Tandry::ImageLib::ByteSource Source() { return {&MemoryInput::Read, this}; }

private:
    static size_t Read(void* self, void* buffer, size_t count);
    const Bytes& mBytes;
    size_t mPiece;
    size_t mAt = 0;
};

} // namespace ImageTest
