// The encoders behind the image writers: they write a whole PNG or JPEG file
// to an open stream and report whether the library finished it. The writers
// give them the stream of a safe write, so a failure leaves no file behind.
#pragma once

#include "resources/images/ImageLib.h"

#include <cstdio>
#include <string>

namespace Tandry::ImageLib {

// 8-bit RGBA, no interlace, significant bits 8 8 8 8.
bool EncodePng(std::FILE* out, const ImageView& image, const std::string& label);
// Three components, RGB in, quality 80; alpha is dropped.
bool EncodeJpeg(std::FILE* out, const ImageView& image, const std::string& label);

} // namespace Tandry::ImageLib
