// The decoders behind the image readers. They work on bytes the reader has
// opened and know nothing of files, so the readers decide where the bytes
// come from. Each returns null, after a line on the debug output, for data it
// cannot decode; `label` (the file name) starts those lines.
#pragma once

#include "resources/images/ImageLib.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace Tandry::ImageLib {

// Sequential input: read delivers up to count bytes and returns how many it did.
struct ByteSource {
    size_t (*read)(void* context, void* buffer, size_t count);
    void* context;
};

// Only 32-bit images with descriptor 0x28; `fileSize` counts the whole file,
// header included, so a short file is refused before anything is allocated.
std::unique_ptr<Image> DecodeTga(const ByteSource& source, uint64_t fileSize, const std::string& label);
std::unique_ptr<Image> DecodePng(const ByteSource& source, const std::string& label);
std::unique_ptr<Image> DecodeJpeg(const uint8_t* data, size_t size, const std::string& label);
std::unique_ptr<Image> DecodeGif(const uint8_t* data, size_t size, const std::string& label);

// One line to the debug output: label, ": ", text.
void ReportImageProblem(const std::string& label, const std::string& text);

} // namespace Tandry::ImageLib
