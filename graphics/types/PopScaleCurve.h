// The growth curve of the shared pop-in: panels and the drawing context's
// pop-in effect scale by it, growing from nothing past full size and
// settling back to exactly 1.
#pragma once

namespace Tandry {

// Up to 1.2 over the first 80 % of x (a quarter sine), then a half cosine
// back to exactly 1.0 at x = 1; 0 at x = 0.
float PopScaleCurve(float x);

} // namespace Tandry
