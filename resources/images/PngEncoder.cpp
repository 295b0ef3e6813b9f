#include "resources/images/ImageEncoders.h"

#include "resources/images/ImageDecoders.h"
#include "resources/images/PngMessages.h"

#include <png.h>

#include <csetjmp>

// The same long-jump discipline as the decoders: libpng's frames and the
// callbacks below hold no object with a destructor.

namespace Tandry::ImageLib {
namespace {

struct PngWriteState {
    PngMessageTarget messages;
    png_structp png = nullptr;
    png_infop info = nullptr;
};

bool RunPngWrite(PngWriteState& state, std::FILE* out, const ImageView& image)
{
    png_structp png = state.png;
    png_infop info = state.info;
    if (setjmp(png_jmpbuf(png)))
        return false;

    png_init_io(png, out);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height), 8,
                 PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_color_8 significant{};
    significant.red = significant.green = significant.blue = significant.alpha = 8;
    png_set_sBIT(png, info, &significant);
    png_write_info(png, info);
    // Words 0xAARRGGBB are bytes B, G, R, A; the file wants R, G, B, A.
    png_set_bgr(png);
    for (int y = 0; y < image.height; ++y) {
        // libpng copies each row before transforming it, so the pixels stay untouched.
        auto row = reinterpret_cast<png_const_bytep>(image.bits + static_cast<size_t>(y) * image.width);
        png_write_row(png, row);
    }
    png_write_end(png, nullptr);
    return true;
}

} // namespace

bool EncodePng(std::FILE* out, const ImageView& image, const std::string& label)
{
    if (out == nullptr || image.bits == nullptr || !SizeAllowed(image.width, image.height)) {
        ReportImageProblem(label, "no pixels to write");
        return false;
    }
    PngWriteState state;
    state.messages.label = &label;
    state.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &state.messages, &OnPngError, &OnPngWarning);
    if (state.png == nullptr) {
        ReportImageProblem(label, "cannot create the PNG writer");
        return false;
    }
    state.info = png_create_info_struct(state.png);
    bool written = state.info != nullptr && RunPngWrite(state, out, image);
    png_destroy_write_struct(&state.png, &state.info);
    return written && std::fflush(out) == 0 && std::ferror(out) == 0;
}

} // namespace Tandry::ImageLib
