// Truncation toward zero that is defined for every input. Inside the range of
// a 32-bit integer it is the plain conversion; beyond it the result saturates,
// and a value that is not a number gives 0. A plain static_cast of such
// values is undefined behaviour in C++.
#pragma once

#include <cstdint>
#include <limits>

constexpr std::int32_t truncateToInt32(double value) noexcept {
    // The range test first and alone, as a pair of comparisons: the usual
    // case then costs them and the conversion (a NaN fails both).
    if (value > -2147483649.0 && value < 2147483648.0) return static_cast<std::int32_t>(value);
    if (!(value == value)) return 0;
    if (value >= 2147483648.0) return std::numeric_limits<std::int32_t>::max();
    if (value <= -2147483649.0) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}
