// An integer point; polygon filling takes arrays of them.
#pragma once

#include <cstdint>

namespace Tandry {

struct Point {
    constexpr Point() = default;
    constexpr Point(int32_t px, int32_t py) : x(px), y(py) {}

    int32_t x = 0;
    int32_t y = 0;

    bool operator==(const Point&) const = default;
};

} // namespace Tandry
