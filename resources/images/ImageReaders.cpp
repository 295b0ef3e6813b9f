#include "resources/images/ImageLib.h"

#include "platform/j2k/J2kCodec.h"
#include "resources/images/ImageDecoders.h"
#include "resources/pak/PakFile.h"

#include <cstdint>
#include <vector>

// The five readers: each opens its file through the file layer, so an image
// is found in the packs first and then on disk in any letter case, and hands
// the bytes to its decoder. A file that is not there is no error worth a
// message (the loader probes names that often do not exist); one that is
// there but cannot be read says why on the debug output.

namespace Tandry::ImageLib {
namespace {

// An image file opened through the file layer, its length known and reading
// at its start; closed however the reader leaves.
class OpenFile {
public:
    explicit OpenFile(const std::string& name) : mFile(PakOpen(name))
    {
        if (mFile == nullptr)
            return;
        if (PakSeek(mFile, 0, 2) == 0)
            mLength = PakTell(mFile);
        if (mLength < 0 || PakSeek(mFile, 0, 0) != 0) {
            ReportImageProblem(name, "cannot tell the file's length");
            PakClose(mFile);
            mFile = nullptr;
        }
    }
    ~OpenFile() { PakCloseIfOpen(mFile); }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;

    explicit operator bool() const { return mFile != nullptr; }
    PakFileHandle* Get() const { return mFile; }
    uint64_t Length() const { return static_cast<uint64_t>(mLength); }
    ByteSource Source() const { return {&OpenFile::Read, mFile}; }

    // The whole file; false when it could not all be read.
    bool ReadAll(std::vector<uint8_t>& bytes) const
    {
        bytes.resize(static_cast<size_t>(mLength));
        return PakRead(bytes.data(), 1, bytes.size(), mFile) == bytes.size();
    }

private:
    static size_t Read(void* file, void* buffer, size_t count)
    {
        return PakRead(buffer, 1, count, static_cast<PakFileHandle*>(file));
    }

    PakFileHandle* mFile;
    int64_t mLength = -1;
};

// For decoders that take the whole file at once.
std::unique_ptr<Image> ReadWhole(const std::string& fileName,
                                 std::unique_ptr<Image> (*decode)(const uint8_t*, size_t, const std::string&))
{
    OpenFile file(fileName);
    if (!file)
        return nullptr;
    std::vector<uint8_t> bytes;
    if (!file.ReadAll(bytes)) {
        ReportImageProblem(fileName, "cannot read the file");
        return nullptr;
    }
    return decode(bytes.data(), bytes.size(), fileName);
}

// The JPEG 2000 codec's stream record over the file layer.
size_t CodecRead(void* buffer, size_t size, void* file)
{
    return PakCodecRead(buffer, size, static_cast<PakFileHandle*>(file));
}

int CodecSeek(void* file, uint64_t offset)
{
    return PakCodecSeek(static_cast<PakFileHandle*>(file), static_cast<int64_t>(offset));
}

void CodecUnused(void*) {}

} // namespace

std::unique_ptr<Image> ReadTga(const std::string& fileName)
{
    OpenFile file(fileName);
    if (!file)
        return nullptr;
    return DecodeTga(file.Source(), file.Length(), fileName);
}

std::unique_ptr<Image> ReadPng(const std::string& fileName)
{
    OpenFile file(fileName);
    if (!file)
        return nullptr;
    return DecodePng(file.Source(), fileName);
}

std::unique_ptr<Image> ReadJpeg(const std::string& fileName)
{
    return ReadWhole(fileName, &DecodeJpeg);
}

std::unique_ptr<Image> ReadGif(const std::string& fileName)
{
    return ReadWhole(fileName, &DecodeGif);
}

std::unique_ptr<Image> ReadJ2k(const std::string& fileName)
{
    // Without a codec JPEG 2000 files do not load, as on a machine without the library.
    if (Platform::gJ2kCodecModule.load() == nullptr)
        return nullptr;
    OpenFile file(fileName);
    if (!file)
        return nullptr;
    const Platform::J2kStreamRecord record{&CodecRead, &CodecSeek, &CodecUnused};
    Platform::J2kImage* codec = Platform::J2kOpenCustom(record, file.Get(), file.Length());
    if (codec == nullptr) {
        ReportImageProblem(fileName, "JPEG 2000: " + Platform::J2kGetLastError());
        return nullptr;
    }
    Platform::J2kInfo info;
    int width = 0;
    int height = 0;
    std::unique_ptr<Image> image;
    if (Platform::J2kGetInfo(codec, info) && Platform::J2kGetResolutionDimensions(codec, 0, width, height))
        image = Image::Create(width, height, false);
    bool decoded = image != nullptr && Platform::J2kDecode(codec, image->bits, width, height, "bpp=4,rl=0");
    Platform::J2kClose(codec);
    if (!decoded) {
        ReportImageProblem(fileName, "JPEG 2000: " + (image == nullptr ? std::string("image too large")
                                                                        : Platform::J2kGetLastError()));
        return nullptr;
    }
    const size_t count = static_cast<size_t>(width) * height;
    for (size_t i = 0; i < count; ++i)
        image->bits[i] |= 0xFF000000u;
    return image;
}

} // namespace Tandry::ImageLib
