// Turns the decoded components of an OpenJPEG image into 0xFFRRGGBB words:
// grey from one or two components, red, green and blue from the first three
// of more. Samples of any precision are brought to 8 bits; signed ones are
// shifted to unsigned first.
#pragma once

#include <cstdint>
#include <string>

struct opj_image; // OpenJPEG's image; its header stays inside the .cpp files here

namespace Platform {

// False, with a reason, for images it cannot turn into words: components of
// different sizes (subsampled) or missing, and colour spaces other than grey,
// sRGB or unspecified. `pixels` holds the image's width x height words.
bool PackJ2kPixels(const opj_image& image, uint32_t* pixels, std::string& error);

// One sample of `precision` bits (signed or not) as an 8-bit value.
uint8_t J2kSampleTo8Bits(int32_t sample, uint32_t precision, bool isSigned);

} // namespace Platform
