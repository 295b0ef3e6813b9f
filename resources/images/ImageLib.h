// Image files into plain 32-bit pixel arrays: the loader that picks a reader by
// extension and merges separate alpha images, and the five readers (TGA, JPEG,
// PNG, GIF, JPEG 2000). Every file is opened through the file layer, so images
// load from packs and from disk alike. The display layer copies the result.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace Tandry {

// The colour given to images that exist only as an alpha image. Each thread
// has its own, so a load on the loading thread never sees the main thread's.
inline constexpr uint32_t kDefaultAlphaColor = 0xFFFFFF;
extern thread_local uint32_t gAlphaColor;
void ResetAlphaColor();

namespace ImageLib {

// More pixels than this (256 MiB of them) are refused before anything is
// allocated, so a tiny file cannot make the loader ask for gigabytes.
inline constexpr int64_t kMaxPixels = int64_t{1} << 26;
// True for sizes a reader may allocate: both sides at least 1, at most kMaxPixels in all.
bool SizeAllowed(int64_t width, int64_t height);

// A non-owning view of 32-bit pixels, rows top to bottom, each word 0xAARRGGBB.
struct ImageView {
    int width = 0;
    int height = 0;
    const uint32_t* bits = nullptr;
};

// An image that owns its pixels: width x height words 0xAARRGGBB, rows top to
// bottom (bytes B, G, R, A in memory).
class Image {
public:
    // Null when the size is not allowed or the memory cannot be had. The
    // pixels are left unset unless `zeroed`.
    static std::unique_ptr<Image> Create(int width, int height, bool zeroed);
    virtual ~Image();
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    ImageView View() const { return {width, height, bits}; }

    int width;
    int height;
    uint32_t* bits;

private:
    Image(int width, int height, uint32_t* bits);
};

// Reads `name`: by its extension, or trying ".tga", ".jpg", ".png", ".gif",
// ".j2k", ".jp2" in turn when it has none. With lookForAlpha, an alpha image
// "_name", "name_" (or the name itself when it ends in "_") gives the alpha
// from its blue channel. Null when nothing could be read.
std::unique_ptr<Image> GetImage(const std::string& name, bool lookForAlpha);

// The readers, each given the full file name; null for a file they cannot read.
std::unique_ptr<Image> ReadTga(const std::string& fileName);
std::unique_ptr<Image> ReadJpeg(const std::string& fileName);
std::unique_ptr<Image> ReadPng(const std::string& fileName);
std::unique_ptr<Image> ReadGif(const std::string& fileName);
std::unique_ptr<Image> ReadJ2k(const std::string& fileName);

} // namespace ImageLib
} // namespace Tandry
