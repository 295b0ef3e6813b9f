// libjpeg's error handling for the JPEG reader and writer: messages go to the
// debug output, a fatal error long-jumps back to the caller's setjmp on `jump`.
#pragma once

#include <csetjmp>
#include <cstdio>
#include <string>

#include <jpeglib.h>

namespace Tandry::ImageLib {

struct JpegErrorManager {
    jpeg_error_mgr base{}; // first, so the library's pointer is also ours
    std::jmp_buf jump{};
    const std::string* label = nullptr;

    // Sets up the library's defaults with our exit and output; the result goes into err.
    jpeg_error_mgr* Install(const std::string& label);
};

// Reports `reason` and leaves through the error manager's jump.
[[noreturn]] void JpegFail(j_common_ptr info, const char* reason);

} // namespace Tandry::ImageLib
