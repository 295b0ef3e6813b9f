#include "platform/j2k/J2kImage.h"

#include "platform/j2k/J2kPixelPacker.h"

#include <cstring>

namespace Platform {
namespace {

// The same bound on pixels as the image loader's, so a lying header cannot
// make the codec allocate gigabytes; the component bound keeps a header that
// claims thousands of components from doing the same.
constexpr uint64_t kMaxPixels = uint64_t{1} << 26;
constexpr uint64_t kMaxSamples = kMaxPixels * 4;

constexpr unsigned char kCodestreamStart[4] = {0xFF, 0x4F, 0xFF, 0x51};
constexpr unsigned char kJp2Signature[12] = {0x00, 0x00, 0x00, 0x0C, 0x6A, 0x50,
                                             0x20, 0x20, 0x0D, 0x0A, 0x87, 0x0A};

// Which decoder the first bytes call for; false for neither.
bool DetectFormat(const J2kStreamRecord& record, void* file, OPJ_CODEC_FORMAT& format)
{
    unsigned char start[12] = {};
    size_t have = 0;
    while (have < sizeof(start)) {
        size_t got = record.read(start + have, sizeof(start) - have, file);
        if (got == 0)
            break;
        have += got;
    }
    if (have >= sizeof(kJp2Signature) && std::memcmp(start, kJp2Signature, sizeof(kJp2Signature)) == 0)
        format = OPJ_CODEC_JP2;
    else if (have >= sizeof(kCodestreamStart)
             && std::memcmp(start, kCodestreamStart, sizeof(kCodestreamStart)) == 0)
        format = OPJ_CODEC_J2K;
    else
        return false;
    return true;
}

} // namespace

J2kImage::J2kImage(const J2kStreamRecord& record, void* file, uint64_t length)
    : mStream(record, file, length)
{
}

J2kImage::~J2kImage()
{
    if (mImage != nullptr)
        opj_image_destroy(mImage);
    if (mCodec != nullptr)
        opj_destroy_codec(mCodec);
}

std::unique_ptr<J2kImage> J2kImage::Open(const J2kStreamRecord& record, void* file, uint64_t length,
                                         std::string& error)
{
    OPJ_CODEC_FORMAT format = OPJ_CODEC_UNKNOWN;
    if (!DetectFormat(record, file, format)) {
        error = "not a JPEG 2000 codestream or JP2 file";
        return nullptr;
    }
    if (record.seek(file, 0) != 0) {
        error = "cannot seek back to the start of the file";
        return nullptr;
    }
    std::unique_ptr<J2kImage> image(new J2kImage(record, file, length));
    if (image->mStream.Get() == nullptr) {
        error = "cannot create the input stream";
        return nullptr;
    }
    image->mCodec = opj_create_decompress(format);
    if (image->mCodec == nullptr) {
        error = "cannot create the decoder";
        return nullptr;
    }
    if (!image->ReadHeader(error))
        return nullptr;
    return image;
}

bool J2kImage::ReadHeader(std::string& error)
{
    opj_set_error_handler(mCodec, &J2kImage::CollectMessage, this);
    opj_set_warning_handler(mCodec, &J2kImage::CollectMessage, this);
    opj_set_info_handler(mCodec, nullptr, nullptr);

    opj_dparameters_t parameters;
    opj_set_default_decoder_parameters(&parameters);
    // Strict decoding makes a cut codestream an error instead of an image
    // whose missing code blocks silently stay empty.
    if (!opj_setup_decoder(mCodec, &parameters) || !opj_decoder_set_strict_mode(mCodec, OPJ_TRUE)) {
        error = Messages("cannot set up the decoder");
        return false;
    }
    if (!opj_read_header(mStream.Get(), mCodec, &mImage) || mImage == nullptr) {
        error = Messages("cannot read the header");
        return false;
    }
    uint64_t pixels = uint64_t{static_cast<uint32_t>(Width())} * static_cast<uint32_t>(Height());
    if (Width() <= 0 || Height() <= 0 || pixels > kMaxPixels
        || pixels * mImage->numcomps > kMaxSamples) {
        error = "image too large or empty";
        return false;
    }
    return true;
}

int J2kImage::Width() const
{
    return static_cast<int>(mImage->x1 - mImage->x0);
}

int J2kImage::Height() const
{
    return static_cast<int>(mImage->y1 - mImage->y0);
}

int J2kImage::Components() const
{
    return static_cast<int>(mImage->numcomps);
}

int J2kImage::Precision() const
{
    return mImage->numcomps > 0 ? static_cast<int>(mImage->comps[0].prec) : 0;
}

bool J2kImage::Decode(uint32_t* pixels, std::string& error)
{
    if (mDecoded) {
        error = "image was decoded already";
        return false;
    }
    mDecoded = true;
    if (!opj_decode(mCodec, mStream.Get(), mImage) || !opj_end_decompress(mCodec, mStream.Get())) {
        error = Messages("decoding failed");
        return false;
    }
    return PackJ2kPixels(*mImage, pixels, error);
}

std::string J2kImage::Messages(const char* fallback) const
{
    return mMessages.empty() ? std::string(fallback) : mMessages;
}

void J2kImage::CollectMessage(const char* message, void* self)
{
    auto* image = static_cast<J2kImage*>(self);
    std::string text = message != nullptr ? message : "";
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    // A damaged file can make OpenJPEG complain at length; the first lines say enough.
    if (text.empty() || image->mMessages.size() > 1000)
        return;
    if (!image->mMessages.empty())
        image->mMessages += "; ";
    image->mMessages += text;
}

} // namespace Platform
