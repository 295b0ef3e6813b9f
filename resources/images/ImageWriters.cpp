#include "resources/images/ImageWriters.h"

#include "platform/fs/SafeWrite.h"
#include "resources/images/ImageDecoders.h"
#include "resources/images/ImageEncoders.h"

namespace Tandry {
namespace {

using Encoder = bool (*)(std::FILE*, const ImageLib::ImageView&, const std::string&);

bool SaveThrough(Encoder encode, const std::string& path, const ImageLib::ImageView& image)
{
    Platform::SafeWrite out(path);
    if (!out.IsOpen()) {
        ImageLib::ReportImageProblem(path, "cannot create the file");
        return false;
    }
    if (!encode(out.File(), image, path)) {
        out.Abandon();
        return false;
    }
    if (!out.Commit()) {
        ImageLib::ReportImageProblem(path, "cannot save the file");
        return false;
    }
    return true;
}

} // namespace

bool SavePngToFile(const std::string& path, const ImageLib::ImageView& image)
{
    return SaveThrough(&ImageLib::EncodePng, path, image);
}

bool SaveJpegToFile(const std::string& path, const ImageLib::ImageView& image)
{
    return SaveThrough(&ImageLib::EncodeJpeg, path, image);
}

} // namespace Tandry
