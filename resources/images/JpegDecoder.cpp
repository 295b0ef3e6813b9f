#include "resources/images/ImageDecoders.h"

#include "resources/images/JpegErrorManager.h"

#include <cstdio>
#include <jpeglib.h>

// Same long-jump discipline as the PNG decoder: the setjmp frame holds plain
// values only, and what must be freed lives in the caller's JpegReadState.

namespace Tandry::ImageLib {
namespace {

struct JpegReadState {
    JpegErrorManager errors;
    jpeg_decompress_struct decoder{};
    bool created = false;
    const uint8_t* data = nullptr;
    size_t size = 0;
    std::unique_ptr<Image> image;
};

bool RunJpegRead(JpegReadState& state)
{
    j_decompress_ptr decoder = &state.decoder;
    if (setjmp(state.errors.jump))
        return false;

    jpeg_create_decompress(decoder);
    state.created = true;
    // The library raises "Empty input file" for no bytes, and for data that
    // stop early warns and supplies an end-of-image marker.
    jpeg_mem_src(decoder, state.data, static_cast<unsigned long>(state.size));
    jpeg_read_header(decoder, TRUE);
    if (!SizeAllowed(decoder->image_width, decoder->image_height))
        JpegFail(reinterpret_cast<j_common_ptr>(decoder), "image too large");
    // The library writes the 0xFF000000 | r << 16 | g << 8 | b words itself, from
    // grey and colour input alike; CMYK and YCCK it cannot convert, and fails.
    decoder->out_color_space = JCS_EXT_BGRA;
    jpeg_start_decompress(decoder);
    if (decoder->output_components != 4)
        JpegFail(reinterpret_cast<j_common_ptr>(decoder), "unexpected output layout");

    const int width = static_cast<int>(decoder->output_width);
    const int height = static_cast<int>(decoder->output_height);
    state.image = Image::Create(width, height, false);
    if (state.image == nullptr)
        JpegFail(reinterpret_cast<j_common_ptr>(decoder), "out of memory for the pixels");
    while (decoder->output_scanline < decoder->output_height) {
        JSAMPROW row = reinterpret_cast<JSAMPROW>(state.image->bits
                                                  + static_cast<size_t>(decoder->output_scanline) * width);
        jpeg_read_scanlines(decoder, &row, 1);
    }
    jpeg_finish_decompress(decoder);
    return true;
}

} // namespace

std::unique_ptr<Image> DecodeJpeg(const uint8_t* data, size_t size, const std::string& label)
{
    JpegReadState state;
    state.data = data;
    state.size = size;
    state.decoder.err = state.errors.Install(label);
    bool read = RunJpegRead(state);
    if (state.created)
        jpeg_destroy_decompress(&state.decoder);
    if (!read)
        return nullptr;
    return std::move(state.image);
}

} // namespace Tandry::ImageLib
