// The sound's parameters compared bit for bit: a mapping that gives -0 for
// +0, or another NaN, plays differently, which a numeric compare would miss.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "slicecast_sound.h"

namespace testsupport {

inline std::uint32_t floatBits(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

inline void expectSameBits(const slicecast::SoundParameters& expected, const slicecast::SoundParameters& actual) {
    EXPECT_EQ(expected.waveLengthIndex, actual.waveLengthIndex);
    EXPECT_EQ(expected.updatePeriodIndex, actual.updatePeriodIndex);
    EXPECT_EQ(floatBits(expected.shape.rate), floatBits(actual.shape.rate));
    EXPECT_EQ(floatBits(expected.shape.fadeOut), floatBits(actual.shape.fadeOut));
    EXPECT_EQ(floatBits(expected.shape.decayRate), floatBits(actual.shape.decayRate));
    EXPECT_EQ(floatBits(expected.shape.mix), floatBits(actual.shape.mix));
}

}  // namespace testsupport
