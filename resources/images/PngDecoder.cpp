#include "resources/images/ImageDecoders.h"

#include "resources/images/PngMessages.h"

#include <png.h>

#include <csetjmp>
#include <vector>

// libpng leaves through longjmp on every error. The frames it skips are its
// own and the callbacks below, none of which holds an object with a
// destructor; the setjmp frame holds only plain values, and everything that
// must be freed lives in the caller's PngReadState.

namespace Tandry::ImageLib {
namespace {

struct PngReadState {
    PngMessageTarget messages;
    const ByteSource* source = nullptr;
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::unique_ptr<Image> image;
    std::vector<png_bytep> rows;
};

void ReadPngData(png_structp png, png_bytep buffer, png_size_t length)
{
    auto* state = static_cast<PngReadState*>(png_get_io_ptr(png));
    size_t have = 0;
    while (have < length) {
        size_t got = state->source->read(state->source->context, buffer + have, length - have);
        if (got == 0)
            png_error(png, "Read Error");
        have += got;
    }
}

// The library call sequence. False when libpng failed or the image is refused.
bool RunPngRead(PngReadState& state)
{
    png_structp png = state.png;
    png_infop info = state.info;
    if (setjmp(png_jmpbuf(png)))
        return false;

    png_set_read_fn(png, &state, &ReadPngData);
    png_set_user_limits(png, static_cast<png_uint_32>(kMaxPixels), static_cast<png_uint_32>(kMaxPixels));
    png_read_info(png, info);

    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    if (!SizeAllowed(width, height))
        png_error(png, "image too large");
    const int colorType = png_get_color_type(png, info);
    const int bitDepth = png_get_bit_depth(png, info);
    const bool hasTransparency = png_get_valid(png, info, PNG_INFO_tRNS) != 0;

    // 16-bit channels keep their high byte; anything else would not fit 4 bytes a pixel.
    if (bitDepth == 16)
        png_set_strip_16(png);
    if (colorType == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(png);
    if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8)
        png_set_expand_gray_1_2_4_to_8(png);
    if (hasTransparency)
        png_set_tRNS_to_alpha(png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    png_set_bgr(png);
    if ((colorType & PNG_COLOR_MASK_ALPHA) == 0 && !hasTransparency)
        png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != static_cast<size_t>(width) * 4)
        png_error(png, "unexpected row layout after the transformations");

    state.image = Image::Create(static_cast<int>(width), static_cast<int>(height), false);
    if (state.image == nullptr)
        png_error(png, "out of memory for the pixels");
    state.rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y)
        state.rows[y] = reinterpret_cast<png_bytep>(state.image->bits + static_cast<size_t>(y) * width);
    png_read_image(png, state.rows.data());
    png_read_end(png, nullptr);
    return true;
}

} // namespace

std::unique_ptr<Image> DecodePng(const ByteSource& source, const std::string& label)
{
    PngReadState state;
    state.source = &source;
    state.messages.label = &label;
    state.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &state.messages, &OnPngError, &OnPngWarning);
    if (state.png == nullptr) {
        ReportImageProblem(label, "cannot create the PNG reader");
        return nullptr;
    }
    state.info = png_create_info_struct(state.png);
    bool read = state.info != nullptr && RunPngRead(state);
    png_destroy_read_struct(&state.png, &state.info, nullptr);
    if (!read)
        return nullptr;
    return std::move(state.image);
}

} // namespace Tandry::ImageLib
