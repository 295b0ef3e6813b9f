// An OpenJPEG input stream over the caller's read and absolute-seek functions.
// OpenJPEG also skips, and needs the stream length to parse JP2 boxes; both
// are built here from the seek and the length the caller gives.
#pragma once

#include "platform/j2k/J2kCodec.h"

#include <openjpeg.h>

#include <cstdint>

namespace Platform {

class J2kStream {
public:
    J2kStream(const J2kStreamRecord& record, void* file, uint64_t length);
    ~J2kStream();
    J2kStream(const J2kStream&) = delete;
    J2kStream& operator=(const J2kStream&) = delete;

    // Null when OpenJPEG could not make the stream.
    opj_stream_t* Get() const { return mStream; }

private:
    static OPJ_SIZE_T Read(void* buffer, OPJ_SIZE_T count, void* self);
    static OPJ_OFF_T Skip(OPJ_OFF_T count, void* self);
    static OPJ_BOOL Seek(OPJ_OFF_T offset, void* self);

    J2kStreamRecord mRecord;
    void* mFile;
    uint64_t mLength;
    uint64_t mPosition = 0;
    opj_stream_t* mStream = nullptr;
};

} // namespace Platform
