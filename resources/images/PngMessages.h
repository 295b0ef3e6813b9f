// libpng's error and warning callbacks for the PNG reader and writer: both
// report to the debug output under the file's name, never to stderr, and an
// error leaves through libpng's long jump.
#pragma once

#include <png.h>

#include <string>

namespace Tandry::ImageLib {

// What libpng's error pointer must point at.
struct PngMessageTarget {
    const std::string* label = nullptr;
};

[[noreturn]] void OnPngError(png_structp png, png_const_charp message);
void OnPngWarning(png_structp png, png_const_charp message);

} // namespace Tandry::ImageLib
