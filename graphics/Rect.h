// TEMPORARY STUB
#pragma once
namespace Tandry {
struct Rect { Rect() = default; Rect(int x, int y, int w, int h) : mX(x), mY(y), mWidth(w), mHeight(h) {} int mX = 0, mY = 0, mWidth = 0, mHeight = 0; };
}
