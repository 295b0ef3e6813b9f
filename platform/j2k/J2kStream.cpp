#include "platform/j2k/J2kStream.h"

#include <algorithm>

namespace Platform {
namespace {

// Big enough that a typical picture needs few calls, small enough not to
// matter for the many small pictures of the game.
constexpr OPJ_SIZE_T kBufferSize = 64 * 1024;

} // namespace

J2kStream::J2kStream(const J2kStreamRecord& record, void* file, uint64_t length)
    : mRecord(record), mFile(file), mLength(length)
{
    mStream = opj_stream_create(kBufferSize, OPJ_TRUE);
    if (mStream == nullptr)
        return;
    opj_stream_set_user_data(mStream, this, nullptr);
    opj_stream_set_user_data_length(mStream, length);
    opj_stream_set_read_function(mStream, &J2kStream::Read);
    opj_stream_set_skip_function(mStream, &J2kStream::Skip);
    opj_stream_set_seek_function(mStream, &J2kStream::Seek);
}

J2kStream::~J2kStream()
{
    if (mStream != nullptr)
        opj_stream_destroy(mStream);
}

OPJ_SIZE_T J2kStream::Read(void* buffer, OPJ_SIZE_T count, void* self)
{
    auto* stream = static_cast<J2kStream*>(self);
    size_t got = stream->mRecord.read(buffer, count, stream->mFile);
    if (got == 0)
        return static_cast<OPJ_SIZE_T>(-1); // OpenJPEG's way of saying "end of stream"
    stream->mPosition += got;
    return got;
}

OPJ_OFF_T J2kStream::Skip(OPJ_OFF_T count, void* self)
{
    auto* stream = static_cast<J2kStream*>(self);
    // The caller's seek is absolute, so a skip is a seek from where reading stands.
    int64_t target = static_cast<int64_t>(stream->mPosition) + count;
    target = std::clamp<int64_t>(target, 0, static_cast<int64_t>(stream->mLength));
    if (stream->mRecord.seek(stream->mFile, static_cast<uint64_t>(target)) != 0)
        return -1;
    OPJ_OFF_T moved = target - static_cast<int64_t>(stream->mPosition);
    stream->mPosition = static_cast<uint64_t>(target);
    return moved;
}

OPJ_BOOL J2kStream::Seek(OPJ_OFF_T offset, void* self)
{
    auto* stream = static_cast<J2kStream*>(self);
    if (offset < 0 || static_cast<uint64_t>(offset) > stream->mLength)
        return OPJ_FALSE;
    if (stream->mRecord.seek(stream->mFile, static_cast<uint64_t>(offset)) != 0)
        return OPJ_FALSE;
    stream->mPosition = static_cast<uint64_t>(offset);
    return OPJ_TRUE;
}

} // namespace Platform
