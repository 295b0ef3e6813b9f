// Writing 32-bit pixels as image files: screenshots and the image dump. Both
// writers go through the safe write, so a failure answers false, leaves no
// file behind and leaves an older file of that name as it was. The path goes
// through the resolver, so "_screenshots\\image1.png" works.
#pragma once

#include "resources/images/ImageLib.h"

#include <string>

namespace Tandry {

// 8-bit RGBA PNG, alpha kept.
bool SavePngToFile(const std::string& path, const ImageLib::ImageView& image);
// Three-component JPEG at quality 80, alpha dropped.
bool SaveJpegToFile(const std::string& path, const ImageLib::ImageView& image);

} // namespace Tandry
