#include "resources/images/ImageEncoders.h"

#include "resources/images/ImageDecoders.h"
#include "resources/images/JpegErrorManager.h"

#include <jpeglib.h>

#include <vector>

namespace Tandry::ImageLib {
namespace {

constexpr int kQuality = 80;

struct JpegWriteState {
    JpegErrorManager errors;
    jpeg_compress_struct encoder{};
    bool created = false;
    std::vector<JSAMPLE> row;
};

bool RunJpegWrite(JpegWriteState& state, std::FILE* out, const ImageView& image)
{
    j_compress_ptr encoder = &state.encoder;
    if (setjmp(state.errors.jump))
        return false;

    jpeg_create_compress(encoder);
    state.created = true;
    jpeg_stdio_dest(encoder, out);
    encoder->image_width = static_cast<JDIMENSION>(image.width);
    encoder->image_height = static_cast<JDIMENSION>(image.height);
    encoder->input_components = 3;
    encoder->in_color_space = JCS_RGB;
    jpeg_set_defaults(encoder);
    jpeg_set_quality(encoder, kQuality, TRUE);
    jpeg_start_compress(encoder, TRUE);
    state.row.resize(static_cast<size_t>(image.width) * 3);
    while (encoder->next_scanline < encoder->image_height) {
        const uint32_t* pixel = image.bits + static_cast<size_t>(encoder->next_scanline) * image.width;
        JSAMPLE* rgb = state.row.data();
        for (int x = 0; x < image.width; ++x, ++pixel, rgb += 3) {
            rgb[0] = static_cast<JSAMPLE>(*pixel >> 16);
            rgb[1] = static_cast<JSAMPLE>(*pixel >> 8);
            rgb[2] = static_cast<JSAMPLE>(*pixel);
        }
        JSAMPROW rows[1] = {state.row.data()};
        jpeg_write_scanlines(encoder, rows, 1);
    }
    jpeg_finish_compress(encoder);
    return true;
}

} // namespace

bool EncodeJpeg(std::FILE* out, const ImageView& image, const std::string& label)
{
    if (out == nullptr || image.bits == nullptr || !SizeAllowed(image.width, image.height)) {
        ReportImageProblem(label, "no pixels to write");
        return false;
    }
    JpegWriteState state;
    state.encoder.err = state.errors.Install(label);
    bool written = RunJpegWrite(state, out, image);
    if (state.created)
        jpeg_destroy_compress(&state.encoder);
    return written && std::fflush(out) == 0 && std::ferror(out) == 0;
}

} // namespace Tandry::ImageLib
