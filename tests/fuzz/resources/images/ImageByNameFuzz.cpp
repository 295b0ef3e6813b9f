// GetImage by name with the alpha lookup, over a pack whose one member is the
// input after its first byte. That byte picks the member's type and which
// part the member plays: the picture itself, the separate alpha picture
// "_name" of a picture that does not exist, or a name ending in "_" that is
// its own mask. The answer must be what the reader gives for the member with
// the alpha taken from the blue channel of the mask, by the rules of the
// lookup written out here. Names that miss the pack go on to an empty folder.
#include "tests/fuzz/FuzzBytes.h"
#include "tests/fuzz/FuzzScratchFolder.h"
#include "tests/fuzz/ImageFuzzPack.h"

#include "resources/images/ImageLib.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

using Tandry::ImageLib::Image;

namespace {

struct Type {
    const char* extension;
    std::unique_ptr<Image> (*read)(const std::string&);
};

const Type kTypes[] = {
    {".tga", &Tandry::ImageLib::ReadTga}, {".jpg", &Tandry::ImageLib::ReadJpeg}, {".png", &Tandry::ImageLib::ReadPng},
    {".gif", &Tandry::ImageLib::ReadGif}, {".j2k", &Tandry::ImageLib::ReadJ2k},  {".jp2", &Tandry::ImageLib::ReadJ2k},
};

enum Role { kPicture, kAlphaOnly, kOwnMask, kRoleCount };

uint32_t Blue(uint32_t pixel)
{
    return pixel & 0xFF;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const FuzzScratchFolder inside;
    const Type& type = kTypes[data[0] % std::size(kTypes)];
    const int role = data[0] / std::size(kTypes) % kRoleCount;
    const bool askWithExtension = (data[0] / (std::size(kTypes) * kRoleCount)) % 2 != 0;

    const std::string stem = role == kAlphaOnly ? "_fuzz" : role == kOwnMask ? "fuzz_" : "fuzz";
    if (!AddOneMemberPack("DATA\\" + stem + type.extension, data + 1, size - 1))
        return 0;
    const std::string asked = std::string(role == kOwnMask ? "data/fuzz_" : "data/fuzz") +
        (askWithExtension ? type.extension : "");

    Tandry::ResetAlphaColor();
    const uint32_t alphaColor = Tandry::gAlphaColor;
    const std::unique_ptr<Image> member = type.read("data/" + stem + type.extension);
    const std::unique_ptr<Image> got = Tandry::ImageLib::GetImage(asked, true);
    Tandry::GetSharedPakInterface()->Reset();

    FuzzCheck((member == nullptr) == (got == nullptr));
    if (member == nullptr)
        return 0;
    FuzzCheck(got->width == member->width && got->height == member->height);
    // With the extension asked for, "fuzz_.ext" looks for a mask "fuzz_.ext_"
    // and finds none: only the bare name is its own mask.
    const bool masked = role == kOwnMask && !askWithExtension;
    const size_t count = static_cast<size_t>(member->width) * static_cast<size_t>(member->height);
    for (size_t i = 0; i < count; ++i) {
        const uint32_t pixel = member->bits[i];
        uint32_t want = pixel;
        if (role == kAlphaOnly)
            want = Blue(pixel) << 24 | alphaColor;
        else if (masked)
            want = (pixel & 0x00FFFFFF) | Blue(pixel) << 24;
        FuzzCheck(got->bits[i] == want);
    }
    return 0;
}
