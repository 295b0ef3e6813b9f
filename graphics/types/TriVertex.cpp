#include "graphics/types/TriVertex.h"

#include <cmath>

namespace Tandry {

namespace {

// Precision, so every machine interpolates alike: t is worked out in double
// and stored as a float; each field is evaluated in double with that float t
// and stored as a float; each colour channel is truncated toward zero.
float LerpField(float p, float q, float t)
{
    return static_cast<float>((static_cast<double>(q) - p) * t + p);
}

uint32_t LerpChannel(uint32_t p, uint32_t q, int shift, float t)
{
    const int32_t pc = static_cast<int32_t>((p >> shift) & 255);
    const int32_t qc = static_cast<int32_t>((q >> shift) & 255);
    const double value = static_cast<double>(t) * (qc - pc) + pc;
    // A degenerate edge gives a NaN or infinite t; keep the conversion defined.
    const int32_t channel = std::isfinite(value) && std::fabs(value) < 2147483648.0
                                ? static_cast<int32_t>(value)
                                : 0;
    return (static_cast<uint32_t>(channel) & 255) << shift;
}

void LerpAt(TriVertex& out, const TriVertex& p, const TriVertex& q, float t)
{
    out.x = LerpField(p.x, q.x, t);
    out.y = LerpField(p.y, q.y, t);
    out.u = LerpField(p.u, q.u, t);
    out.v = LerpField(p.v, q.v, t);
    out.color = LerpChannel(p.color, q.color, 24, t) | LerpChannel(p.color, q.color, 16, t) |
                LerpChannel(p.color, q.color, 8, t) | LerpChannel(p.color, q.color, 0, t);
}

float EdgeFraction(float at, float from, float to)
{
    return static_cast<float>((static_cast<double>(at) - from) / (static_cast<double>(to) - from));
}

} // namespace

void TriVertex::LerpAtY(TriVertex& out, const TriVertex& p, const TriVertex& q, float y)
{
    LerpAt(out, p, q, EdgeFraction(y, p.y, q.y));
}

void TriVertex::LerpAtX(TriVertex& out, const TriVertex& p, const TriVertex& q, float x)
{
    LerpAt(out, p, q, EdgeFraction(x, p.x, q.x));
}

} // namespace Tandry
