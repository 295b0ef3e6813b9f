// The tests' own decode of a whole MP3 file with libmpg123's feed interface
// and its default output (signed 16-bit at the file's rate and channel
// count), written apart from the decoder under test, which reads through
// replaced I/O after a scan. What the program decodes is compared with it.
#pragma once

#include <mpg123.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace TestSupport {

struct Mp3Decoded {
    long rate = 0;
    int channels = 0;
    std::vector<int16_t> samples; // interleaved
};

inline Mp3Decoded DecodeMp3Whole(const std::vector<uint8_t>& bytes)
{
    Mp3Decoded out;
    mpg123_init();
    mpg123_handle* handle = mpg123_new(nullptr, nullptr);
    if (handle == nullptr || mpg123_open_feed(handle) != MPG123_OK) {
        mpg123_delete(handle);
        return out;
    }
    mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_QUIET, 0);
    unsigned char buffer[16384];
    size_t done = 0;
    int result = mpg123_decode(handle, bytes.data(), bytes.size(), buffer, sizeof buffer, &done);
    int encoding = 0;
    for (;;) {
        if (result == MPG123_NEW_FORMAT)
            mpg123_getformat(handle, &out.rate, &out.channels, &encoding);
        if (done >= 2) {
            const size_t at = out.samples.size();
            out.samples.resize(at + done / 2);
            std::memcpy(out.samples.data() + at, buffer, done / 2 * 2);
        }
        if (result != MPG123_OK && result != MPG123_NEW_FORMAT)
            break;
        result = mpg123_decode(handle, nullptr, 0, buffer, sizeof buffer, &done);
    }
    mpg123_delete(handle);
    return out;
}

} // namespace TestSupport
