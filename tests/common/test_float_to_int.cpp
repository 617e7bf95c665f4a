// Truncation toward zero for every double: plain conversion inside the
// 32-bit range, saturation beyond it, 0 for NaN. Period numbers, gate
// lengths and bar lengths all go through it, so its edges decide bits.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "float_to_int.h"

namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

TEST(TruncateToInt32, TruncatesTowardZeroAndSaturates) {
    const struct {
        double value;
        std::int32_t expected;
    } cases[] = {
        {0.0, 0},
        {-0.0, 0},
        {0.9999999, 0},
        {-0.9999999, 0},
        {1.9, 1},
        {-1.9, -1},
        {96000.0, 96000},
        {2147483647.0, kMax},
        {2147483647.75, kMax},
        {2147483648.0, kMax},
        {1e300, kMax},
        {kInfinity, kMax},
        {-2147483648.0, kMin},
        {-2147483648.75, kMin},
        {-2147483649.0, kMin},
        {-1e300, kMin},
        {-kInfinity, kMin},
        {std::numeric_limits<double>::quiet_NaN(), 0},
        {-std::numeric_limits<double>::quiet_NaN(), 0},
        {std::numeric_limits<double>::denorm_min(), 0},
    };
    for (const auto& testCase : cases) {
        EXPECT_EQ(truncateToInt32(testCase.value), testCase.expected) << testCase.value;
    }
}

}  // namespace
