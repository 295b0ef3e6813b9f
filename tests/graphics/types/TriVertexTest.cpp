#include "graphics/types/TriVertex.h"

#include <gtest/gtest.h>

namespace {

using Tandry::TriVertex;

void ExpectVertex(const TriVertex& actual, const TriVertex& expected)
{
    EXPECT_EQ(actual.x, expected.x);
    EXPECT_EQ(actual.y, expected.y);
    EXPECT_EQ(actual.u, expected.u);
    EXPECT_EQ(actual.v, expected.v);
    EXPECT_EQ(actual.color, expected.color) << std::hex << actual.color;
}

// LerpAtY and LerpAtX are the same interpolation along different axes; each
// case runs on both by swapping x and y.
TriVertex Swapped(const TriVertex& v) { return {v.y, v.x, v.u, v.v, v.color}; }

struct Case {
    const char* name;
    TriVertex p, q;
    float at;
    TriVertex expected;
};

void RunBothAxes(const Case& c)
{
    SCOPED_TRACE(c.name);
    TriVertex out;
    TriVertex::LerpAtY(out, c.p, c.q, c.at);
    ExpectVertex(out, c.expected);
    TriVertex::LerpAtX(out, Swapped(c.p), Swapped(c.q), c.at);
    ExpectVertex(out, Swapped(c.expected));
}

TEST(TriVertex, DefaultHasNoColour)
{
    EXPECT_EQ(TriVertex().color, 0u);
}

TEST(TriVertex, LerpOnBothAxes)
{
    const TriVertex p{1.25f, 10.0f, 0.125f, 0.75f, 0xFF0000FFu};
    const TriVertex q{9.5f, 30.0f, 0.875f, 0.25f, 0x00FF00FFu};
    const Case cases[] = {
        // At p's own height the result is p, bit for bit.
        {"at p", p, q, 10.0f, p},
        {"at q", p, q, 30.0f, q},
        // Halfway: channels 127.5 truncate to 127 (alpha 255 -> 0, red 0 -> 255).
        {"halfway", p, q, 20.0f, {5.375f, 20.0f, 0.5f, 0.5f, 0x7F7F00FFu}},
        // t is measured from the first vertex whichever way the edge runs.
        {"reversed edge", q, p, 25.0f, {7.4375f, 25.0f, 0.6875f, 0.375f, 0x3FBF00FFu}},
        // t rounded to float first, then the field in double: evaluating all in
        // float or keeping t in double both give 359.3687744140625 here.
        {"precision",
         {189.86927795410156f, 592.0194702148438f, 0, 0, 0},
         {475.1681823730469f, 320.1184387207031f, 0, 0, 0},
         430.47979736328125f,
         {359.3688049316406f, 430.47979736328125f, 0, 0, 0}},
    };
    for (const Case& c : cases)
        RunBothAxes(c);
}

TEST(TriVertex, ChannelsTruncateTowardZeroOnFallingEdges)
{
    // t = 1/3 as a float is a little above a third: the rising channel gives
    // 85.0000025 -> 85, the falling one 169.9999975 -> 169, not 170.
    const TriVertex p{0, 0, 0, 0, 0x00FF0000u};
    const TriVertex q{0, 3, 0, 0, 0x0000FF00u};
    TriVertex out;
    TriVertex::LerpAtY(out, p, q, 1.0f);
    EXPECT_EQ(out.color, 0x00A95500u) << std::hex << out.color;
}

} // namespace
