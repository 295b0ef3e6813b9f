// Loading a photo-like 1024 x 768 picture with GetImage, from a loose file and
// from a pack member, with and without the alpha-image probes (which miss),
// next to the bare libraries decoding the same bytes from memory: libpng's
// classic API with the same transformations, and libjpeg-turbo with
// jpeg_mem_src writing BGRA scan lines straight into the output. The goal is
// the loader within 10 % of the bare decoder in every case.
#include "resources/images/ImageLib.h"
#include "resources/images/ImageWriters.h"
#include "resources/pak/PakFile.h"
#include "resources/pak/PakInterface.h"
#include "resources/pak/PakWriter.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <unistd.h>
#include <png.h>

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

using Bytes = std::vector<uint8_t>;

// Gradients, a soft shape and a little noise: compresses like a photograph,
// not like flat colour.
std::vector<uint32_t> DrawPhoto()
{
    std::vector<uint32_t> pixels(static_cast<size_t>(kWidth) * kHeight);
    uint32_t noise = 2463534242u;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            noise ^= noise << 13;
            noise ^= noise >> 17;
            noise ^= noise << 5;
            const int grain = static_cast<int>(noise & 15) - 8;
            const int dx = x - 600;
            const int dy = y - 300;
            const int glow = 90 - std::min(90, (dx * dx + dy * dy) / 1200);
            auto channel = [&](int v) { return static_cast<uint32_t>(std::clamp(v + grain, 0, 255)); };
            const uint32_t r = channel(x * 200 / kWidth + glow);
            const uint32_t g = channel(y * 180 / kHeight + glow / 2 + 20);
            const uint32_t b = channel((x + y) * 120 / (kWidth + kHeight) + 60);
            const uint32_t a = channel(255 - glow);
            pixels[static_cast<size_t>(y) * kWidth + x] = a << 24 | r << 16 | g << 8 | b;
        }
    }
    return pixels;
}

Bytes ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The two files, written once with the project's writers (libpng's default
// compression, JPEG quality 80), lying loose in a temporary folder and in a
// pack held in memory.
struct Inputs {
    std::string folder;
    Bytes png;
    Bytes jpeg;

    Inputs()
    {
        folder = (std::filesystem::temp_directory_path() / ("moorglen-image-bench-" + std::to_string(getpid())))
                     .string();
        std::filesystem::create_directories(folder);
        const std::vector<uint32_t> photo = DrawPhoto();
        const Tandry::ImageLib::ImageView view{kWidth, kHeight, photo.data()};
        if (!Tandry::SavePngToFile(folder + "/photo_png.png", view)
            || !Tandry::SaveJpegToFile(folder + "/photo_jpg.jpg", view))
            std::abort();
        png = ReadBytes(folder + "/photo_png.png");
        jpeg = ReadBytes(folder + "/photo_jpg.jpg");
        std::vector<Tandry::PakWriteEntry> entries;
        entries.push_back(Tandry::PakWriteEntry::FromBytes("DATA\\BENCH\\PHOTO_PNG.PNG", png));
        entries.push_back(Tandry::PakWriteEntry::FromBytes("DATA\\BENCH\\PHOTO_JPG.JPG", jpeg));
        Bytes pack;
        std::string error;
        if (!Tandry::WritePakToMemory(entries, pack, error)
            || !Tandry::GetSharedPakInterface()->AddPakMemory("bench.pak", std::move(pack)))
            std::abort();
    }

    ~Inputs()
    {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
};

const Inputs& TheInputs()
{
    static const Inputs inputs;
    return inputs;
}

void LoadWithGetImage(benchmark::State& state, const std::string& name)
{
    const bool lookForAlpha = state.range(0) != 0;
    for (auto _ : state) {
        auto image = Tandry::ImageLib::GetImage(name, lookForAlpha);
        if (image == nullptr)
            state.SkipWithError("image did not load");
        benchmark::DoNotOptimize(image.get());
    }
}

// Names without extension, as the application passes them.
void BM_GetImage_Png_LooseFile(benchmark::State& state)
{
    LoadWithGetImage(state, TheInputs().folder + "/photo_png");
}
void BM_GetImage_Png_PackMember(benchmark::State& state)
{
    TheInputs();
    LoadWithGetImage(state, "data/bench/photo_png");
}
void BM_GetImage_Jpeg_LooseFile(benchmark::State& state)
{
    LoadWithGetImage(state, TheInputs().folder + "/photo_jpg");
}
void BM_GetImage_Jpeg_PackMember(benchmark::State& state)
{
    TheInputs();
    LoadWithGetImage(state, "data/bench/photo_jpg");
}

struct MemoryReader {
    const Bytes* bytes;
    size_t at;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t length)
{
    auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (reader->bytes->size() - reader->at < length)
        png_error(png, "Read Error");
    std::copy_n(reader->bytes->data() + reader->at, length, out);
    reader->at += length;
}

struct BarePng {
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::unique_ptr<uint32_t[]> pixels;
    std::vector<png_bytep> rows;
};

bool RunBarePng(BarePng& bare, MemoryReader& reader)
{
    if (setjmp(png_jmpbuf(bare.png)))
        return false;
    png_set_read_fn(bare.png, &reader, &ReadFromMemory);
    png_read_info(bare.png, bare.info);
    const png_uint_32 width = png_get_image_width(bare.png, bare.info);
    const png_uint_32 height = png_get_image_height(bare.png, bare.info);
    const int colorType = png_get_color_type(bare.png, bare.info);
    if (png_get_bit_depth(bare.png, bare.info) == 16)
        png_set_strip_16(bare.png);
    const bool transparency = png_get_valid(bare.png, bare.info, PNG_INFO_tRNS) != 0;
    if (colorType == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(bare.png);
    if (colorType == PNG_COLOR_TYPE_GRAY && png_get_bit_depth(bare.png, bare.info) < 8)
        png_set_expand_gray_1_2_4_to_8(bare.png);
    if (transparency)
        png_set_tRNS_to_alpha(bare.png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(bare.png);
    png_set_bgr(bare.png);
    if ((colorType & PNG_COLOR_MASK_ALPHA) == 0 && !transparency)
        png_set_filler(bare.png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(bare.png);
    png_read_update_info(bare.png, bare.info);
    bare.pixels.reset(new uint32_t[static_cast<size_t>(width) * height]);
    bare.rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y)
        bare.rows[y] = reinterpret_cast<png_bytep>(bare.pixels.get() + static_cast<size_t>(y) * width);
    png_read_image(bare.png, bare.rows.data());
    png_read_end(bare.png, nullptr);
    return true;
}

void BM_BareLibpng_FromMemory(benchmark::State& state)
{
    const Bytes& file = TheInputs().png;
    for (auto _ : state) {
        BarePng bare;
        MemoryReader reader{&file, 0};
        bare.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        bare.info = png_create_info_struct(bare.png);
        bool ok = RunBarePng(bare, reader);
        png_destroy_read_struct(&bare.png, &bare.info, nullptr);
        if (!ok)
            state.SkipWithError("libpng failed");
        benchmark::DoNotOptimize(bare.pixels.get());
    }
}

void BM_BareLibjpegTurbo_FromMemory(benchmark::State& state)
{
    const Bytes& file = TheInputs().jpeg;
    for (auto _ : state) {
        jpeg_decompress_struct decoder{};
        jpeg_error_mgr errors{};
        decoder.err = jpeg_std_error(&errors);
        jpeg_create_decompress(&decoder);
        jpeg_mem_src(&decoder, file.data(), static_cast<unsigned long>(file.size()));
        jpeg_read_header(&decoder, TRUE);
        decoder.out_color_space = JCS_EXT_BGRA;
        jpeg_start_decompress(&decoder);
        std::unique_ptr<uint32_t[]> pixels(new uint32_t[static_cast<size_t>(decoder.output_width)
                                                        * decoder.output_height]);
        while (decoder.output_scanline < decoder.output_height) {
            JSAMPROW row = reinterpret_cast<JSAMPROW>(pixels.get()
                                                      + static_cast<size_t>(decoder.output_scanline)
                                                            * decoder.output_width);
            jpeg_read_scanlines(&decoder, &row, 1);
        }
        jpeg_finish_decompress(&decoder);
        jpeg_destroy_decompress(&decoder);
        benchmark::DoNotOptimize(pixels.get());
    }
}

} // namespace

BENCHMARK(BM_BareLibpng_FromMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GetImage_Png_LooseFile)->ArgName("lookForAlpha")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GetImage_Png_PackMember)->ArgName("lookForAlpha")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareLibjpegTurbo_FromMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GetImage_Jpeg_LooseFile)->ArgName("lookForAlpha")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GetImage_Jpeg_PackMember)->ArgName("lookForAlpha")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
