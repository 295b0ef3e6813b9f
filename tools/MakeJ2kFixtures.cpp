// Writes the small JPEG 2000 files the image tests decode: lossless
// codestreams and JP2 files whose samples follow J2kFixtureSample, so a test
// can recompute every pixel. Run: make_j2k_fixtures <folder>.
#include <openjpeg.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 24;
constexpr int kHeight = 16;

// The tests hold the same formula: scattered values, so a lossless round
// trip is actually checked.
uint32_t J2kFixtureSample(int x, int y, int component, int precision)
{
    uint32_t v = static_cast<uint32_t>(x * 37 + y * 101 + component * 59 + (x * y) % 17) * 2654435761u;
    return (v >> 8) & ((1u << precision) - 1);
}

struct Fixture {
    const char* name;
    OPJ_CODEC_FORMAT format;
    int components;
    int precision;
    OPJ_COLOR_SPACE colorSpace;
    int subsampling; // of the second and third components
};

bool Write(const std::string& folder, const Fixture& f)
{
    std::vector<opj_image_cmptparm_t> parts(static_cast<size_t>(f.components));
    for (int c = 0; c < f.components; ++c) {
        opj_image_cmptparm_t& part = parts[static_cast<size_t>(c)];
        part = {};
        part.dx = part.dy = c == 0 ? 1 : static_cast<OPJ_UINT32>(f.subsampling);
        part.w = (kWidth + part.dx - 1) / part.dx;
        part.h = (kHeight + part.dy - 1) / part.dy;
        part.prec = static_cast<OPJ_UINT32>(f.precision);
        part.sgnd = 0;
    }
    opj_image_t* image = opj_image_create(static_cast<OPJ_UINT32>(f.components), parts.data(), f.colorSpace);
    if (image == nullptr)
        return false;
    image->x0 = 0;
    image->y0 = 0;
    image->x1 = kWidth;
    image->y1 = kHeight;
    for (int c = 0; c < f.components; ++c) {
        opj_image_comp_t& comp = image->comps[c];
        for (OPJ_UINT32 y = 0; y < comp.h; ++y)
            for (OPJ_UINT32 x = 0; x < comp.w; ++x)
                comp.data[y * comp.w + x] = static_cast<OPJ_INT32>(
                    J2kFixtureSample(static_cast<int>(x), static_cast<int>(y), c, f.precision));
    }

    opj_cparameters_t parameters;
    opj_set_default_encoder_parameters(&parameters);
    parameters.tcp_numlayers = 1;
    parameters.tcp_rates[0] = 0; // lossless
    parameters.cp_disto_alloc = 1;
    parameters.numresolution = 3;
    parameters.irreversible = 0;
    parameters.tcp_mct = f.components >= 3 && f.subsampling == 1 ? 1 : 0;

    const std::string path = folder + "/" + f.name;
    opj_codec_t* codec = opj_create_compress(f.format);
    opj_stream_t* stream = opj_stream_create_default_file_stream(path.c_str(), OPJ_FALSE);
    bool ok = codec != nullptr && stream != nullptr && opj_setup_encoder(codec, &parameters, image)
              && opj_start_compress(codec, image, stream) && opj_encode(codec, stream)
              && opj_end_compress(codec, stream);
    if (stream != nullptr)
        opj_stream_destroy(stream);
    if (codec != nullptr)
        opj_destroy_codec(codec);
    opj_image_destroy(image);
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const Fixture fixtures[] = {
        {"rgb.j2k", OPJ_CODEC_J2K, 3, 8, OPJ_CLRSPC_SRGB, 1},
        {"rgb.jp2", OPJ_CODEC_JP2, 3, 8, OPJ_CLRSPC_SRGB, 1},
        {"grey.j2k", OPJ_CODEC_J2K, 1, 8, OPJ_CLRSPC_GRAY, 1},
        {"grey.jp2", OPJ_CODEC_JP2, 1, 8, OPJ_CLRSPC_GRAY, 1},
        {"rgb12.j2k", OPJ_CODEC_J2K, 3, 12, OPJ_CLRSPC_SRGB, 1},
        {"rgb12.jp2", OPJ_CODEC_JP2, 3, 12, OPJ_CLRSPC_SRGB, 1},
        {"jp2inside.j2k", OPJ_CODEC_JP2, 3, 8, OPJ_CLRSPC_SRGB, 1},
        {"subsampled.j2k", OPJ_CODEC_J2K, 3, 8, OPJ_CLRSPC_SRGB, 2},
        {"sycc.jp2", OPJ_CODEC_JP2, 3, 8, OPJ_CLRSPC_SYCC, 1},
    };
    int failures = 0;
    for (const Fixture& f : fixtures) {
        if (!Write(argv[1], f)) {
            std::fprintf(stderr, "could not write %s\n", f.name);
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
