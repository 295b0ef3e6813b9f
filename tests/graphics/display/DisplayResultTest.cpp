#include "graphics/display/DisplayResult.h"

#include <gtest/gtest.h>

namespace {

using Tandry::ResultName;

TEST(DisplayResult, NamesOfTheInitResults)
{
    const struct {
        int code;
        const char* name;
    } cases[] = {
        {0, "RESULT_OK"},
        {1, "RESULT_FAIL"},
        {2, "RESULT_DD_CREATE_FAIL"},
        {3, "RESULT_SURFACE_FAIL"},
        {4, "RESULT_EXCLUSIVE_FAIL"},
        {5, "RESULT_DISPCHANGE_FAIL"},
        {6, "RESULT_INVALID_COLORDEPTH"},
        // A failed Direct3D set-up has no name of its own.
        {7, "RESULT_UNKNOWN"},
        {8, "RESULT_UNKNOWN"},
        {-1, "RESULT_UNKNOWN"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ResultName(c.code), c.name) << c.code;
    EXPECT_EQ(ResultName(Tandry::RESULT_INVALID_COLORDEPTH), "RESULT_INVALID_COLORDEPTH");
    EXPECT_EQ(ResultName(Tandry::RESULT_D3D_INIT_FAIL), "RESULT_UNKNOWN");
}

} // namespace
