#include "platform/j2k/J2kCodec.h"

#include "platform/j2k/J2kImage.h"

#include <sstream>

namespace Platform {
namespace {

// What the switch points at while the codec is present; only its address matters.
const char kLinkedCodec[] = "openjp2";

thread_local std::string tLastError;

bool Fail(const std::string& reason)
{
    tLastError = reason;
    return false;
}

// Accepts exactly the options this stand-in implements: "bpp=4" and "rl=0", comma separated.
bool OptionsSupported(const char* options)
{
    std::istringstream items(options != nullptr ? options : "");
    std::string item;
    while (std::getline(items, item, ',')) {
        if (item != "bpp=4" && item != "rl=0")
            return Fail("unsupported decode option \"" + item + "\"");
    }
    return true;
}

} // namespace

std::atomic<const void*> gJ2kCodecModule{kLinkedCodec};

void ResetJ2kCodecModule()
{
    gJ2kCodecModule.store(kLinkedCodec);
}

J2kImage* J2kOpenCustom(const J2kStreamRecord& stream, void* file, uint64_t length)
{
    if (stream.read == nullptr || stream.seek == nullptr) {
        Fail("stream record lacks a read or seek function");
        return nullptr;
    }
    std::string error;
    std::unique_ptr<J2kImage> image = J2kImage::Open(stream, file, length, error);
    if (image == nullptr) {
        Fail(error);
        return nullptr;
    }
    return image.release();
}

bool J2kGetInfo(J2kImage* image, J2kInfo& info)
{
    if (image == nullptr)
        return Fail("no image");
    info.width = image->Width();
    info.height = image->Height();
    info.components = image->Components();
    info.precision = image->Precision();
    return true;
}

bool J2kGetResolutionDimensions(J2kImage* image, int level, int& width, int& height)
{
    if (image == nullptr)
        return Fail("no image");
    if (level != 0)
        return Fail("only resolution 0 is offered");
    width = image->Width();
    height = image->Height();
    return true;
}

bool J2kDecode(J2kImage* image, uint32_t* pixels, int width, int height, const char* options)
{
    if (image == nullptr || pixels == nullptr)
        return Fail("no image or no pixel buffer");
    if (!OptionsSupported(options))
        return false;
    if (width != image->Width() || height != image->Height())
        return Fail("pixel buffer does not have the image's size");
    std::string error;
    if (!image->Decode(pixels, error))
        return Fail(error);
    return true;
}

void J2kClose(J2kImage* image)
{
    delete image;
}

std::string J2kGetLastError()
{
    return tLastError;
}

} // namespace Platform
