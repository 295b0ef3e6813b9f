// One open JPEG 2000 image of the stand-in codec: the OpenJPEG decoder, the
// stream it reads and the header read at opening. OpenJPEG's messages are
// collected here so they can become the error text instead of going to stderr.
#pragma once

#include "platform/j2k/J2kCodec.h"
#include "platform/j2k/J2kStream.h"

#include <openjpeg.h>

#include <cstdint>
#include <memory>
#include <string>

namespace Platform {

class J2kImage {
public:
    // Null on failure, with the reason in error.
    static std::unique_ptr<J2kImage> Open(const J2kStreamRecord& record, void* file, uint64_t length,
                                          std::string& error);
    ~J2kImage();
    J2kImage(const J2kImage&) = delete;
    J2kImage& operator=(const J2kImage&) = delete;

    int Width() const;
    int Height() const;
    int Components() const;
    int Precision() const;

    // Decodes the whole image at full resolution into Width() x Height() words.
    bool Decode(uint32_t* pixels, std::string& error);

private:
    J2kImage(const J2kStreamRecord& record, void* file, uint64_t length);
    bool ReadHeader(std::string& error);
    // The collected OpenJPEG messages, or fallback when there are none.
    std::string Messages(const char* fallback) const;
    static void CollectMessage(const char* message, void* self);

    J2kStream mStream;
    opj_codec_t* mCodec = nullptr;
    opj_image_t* mImage = nullptr;
    bool mDecoded = false;
    std::string mMessages;
};

} // namespace Platform
