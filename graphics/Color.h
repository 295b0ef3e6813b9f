// TEMPORARY STUB
#pragma once
namespace Tandry {
struct Color { int mRed = 0, mGreen = 0, mBlue = 0, mAlpha = 255; };
}
