// The outcome of bringing the display up, as the display's Init returns it, and
// the names the application's error message prints for it.
#pragma once

#include <string>

namespace Tandry {

enum DisplayResult : int {
    RESULT_OK = 0,
    RESULT_FAIL = 1,                 // the clipper was not created
    RESULT_DD_CREATE_FAIL = 2,
    RESULT_SURFACE_FAIL = 3,
    RESULT_EXCLUSIVE_FAIL = 4,       // exclusive full-screen mode refused
    RESULT_DISPCHANGE_FAIL = 5,
    RESULT_INVALID_COLORDEPTH = 6,   // neither 16 nor 32 bits per pixel
    RESULT_D3D_INIT_FAIL = 7,        // has no name of its own: prints as unknown
};

// "RESULT_OK" .. "RESULT_INVALID_COLORDEPTH"; "RESULT_UNKNOWN" for 7 and any other code.
std::string ResultName(int code);

} // namespace Tandry
