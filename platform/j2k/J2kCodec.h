// Stand-in for the run-time JPEG 2000 codec that the image loader asks for:
// open an image from the caller's stream, report its size, decode it into
// 0xAARRGGBB words, close, and tell why the last call of this thread failed.
// Built over OpenJPEG; no other folder includes an OpenJPEG header.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

namespace Platform {

// Non-null while a JPEG 2000 codec is present. The stand-in is always linked
// in, so it starts set; null makes the loader behave as without the library.
extern std::atomic<const void*> gJ2kCodecModule;
// Sets the switch back to the linked-in codec.
void ResetJ2kCodecModule();

// How the codec reads the caller's file: read returns the bytes delivered
// (0 at the end), seek goes to an absolute offset and returns 0 on success.
// The third entry is part of the record the caller fills; the codec never calls it.
struct J2kStreamRecord {
    size_t (*read)(void* buffer, size_t size, void* file);
    int (*seek)(void* file, uint64_t offset);
    void (*unused)(void* file);
};

struct J2kInfo {
    int width = 0;
    int height = 0;
    int components = 0;
    int precision = 0; // bits of the first component
};

class J2kImage;

// Reads the header of a codestream or JP2 file (told apart by its first bytes)
// of `length` bytes, read from the file's current position at offset 0.
// Null on failure; the reason is in J2kGetLastError.
J2kImage* J2kOpenCustom(const J2kStreamRecord& stream, void* file, uint64_t length);
bool J2kGetInfo(J2kImage* image, J2kInfo& info);
// The size of a resolution level; only level 0 (full size) is offered.
bool J2kGetResolutionDimensions(J2kImage* image, int level, int& width, int& height);
// Decodes into width x height words (rows top to bottom, no padding). The only
// options understood are "bpp=4" (4 bytes a pixel) and "rl=0" (full resolution).
// 1 or 2 components give grey, 3 or more the first three as red, green, blue;
// alpha is 255; samples are scaled to 8 bits.
bool J2kDecode(J2kImage* image, uint32_t* pixels, int width, int height, const char* options);
void J2kClose(J2kImage* image);
// Why the last failing call of this thread failed; empty when none has.
std::string J2kGetLastError();

} // namespace Platform
