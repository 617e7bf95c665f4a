// The plain-value mapping the LV2 and CLAP editions keep on their audio
// threads: whether all six values come at once or one alone, what it holds
// must be what mapping the six afresh gives, to the bit.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <limits>

#include "plain_parameters.h"

namespace {

using slicecast::ParameterIndex;
using slicecast::PlainParameterMapping;
using slicecast::SoundParameters;
using Plain = std::array<double, 6>;

std::uint32_t bitsOf(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

void expectSameBits(const SoundParameters& expected, const SoundParameters& actual) {
    EXPECT_EQ(expected.waveLengthIndex, actual.waveLengthIndex);
    EXPECT_EQ(expected.updatePeriodIndex, actual.updatePeriodIndex);
    EXPECT_EQ(bitsOf(expected.shape.rate), bitsOf(actual.shape.rate));
    EXPECT_EQ(bitsOf(expected.shape.fadeOut), bitsOf(actual.shape.fadeOut));
    EXPECT_EQ(bitsOf(expected.shape.decayRate), bitsOf(actual.shape.decayRate));
    EXPECT_EQ(bitsOf(expected.shape.mix), bitsOf(actual.shape.mix));
}

Plain defaults() {
    Plain plain{};
    for (std::size_t index = 0; index < plain.size(); ++index) plain[index] = slicecast::plainRanges[index].defaultValue;
    return plain;
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

// One value at a time, each a change in bits, through every parameter and
// the values hosts should not send.
const struct {
    ParameterIndex index;
    double value;
} kChanges[] = {
    {slicecast::kWaveLength, 9.0},     {slicecast::kWaveLength, 10.5},   {slicecast::kWaveLength, kNaN},
    {slicecast::kWaveLength, 99.0},    {slicecast::kUpdatePeriod, 0.49}, {slicecast::kUpdatePeriod, -kInfinity},
    {slicecast::kUpdatePeriod, 4.0},   {slicecast::kRate, 30.0},         {slicecast::kRate, -0.0},
    {slicecast::kRate, 0.0},           {slicecast::kFadeOut, 40.0},      {slicecast::kFadeOut, kNaN},
    {slicecast::kFadeOut, 1.0e-300},   {slicecast::kDecayRate, 50.0},    {slicecast::kDecayRate, kInfinity},
    {slicecast::kMix, 99.0},           {slicecast::kMix, -5.0},          {slicecast::kMix, 100.0},
};

TEST(PlainParameterMapping, StartsAtTheDefaultsMapping) {
    const PlainParameterMapping mapping;
    expectSameBits(slicecast::soundParametersFromPlain(defaults()), mapping.mapped());
}

TEST(PlainParameterMapping, OneValueAloneMapsAsAllSixAfresh) {
    PlainParameterMapping mapping;
    Plain plain = defaults();
    for (const auto& change : kChanges) {
        plain[change.index] = change.value;
        SCOPED_TRACE(testing::Message() << "parameter " << change.index << " to " << change.value);
        expectSameBits(slicecast::soundParametersFromPlain(plain), mapping.updateOne(change.index, change.value));
        expectSameBits(slicecast::soundParametersFromPlain(plain), mapping.mapped());
    }
}

TEST(PlainParameterMapping, AllSixAndOneAloneMayTakeTurns) {
    PlainParameterMapping mapping;
    Plain plain = defaults();
    bool alone = false;
    for (const auto& change : kChanges) {
        plain[change.index] = change.value;
        const SoundParameters& mapped = alone ? mapping.updateOne(change.index, change.value) : mapping.update(plain);
        SCOPED_TRACE(testing::Message() << "parameter " << change.index << (alone ? " alone" : " with all six"));
        expectSameBits(slicecast::soundParametersFromPlain(plain), mapped);
        alone = !alone;
    }
}

TEST(PlainParameterMapping, AChangeOfSignAtZeroIsAChange) {
    PlainParameterMapping mapping;
    mapping.updateOne(slicecast::kRate, 0.0);
    EXPECT_EQ(bitsOf(mapping.mapped().shape.rate), bitsOf(0.0f));
    mapping.updateOne(slicecast::kRate, -0.0);
    EXPECT_EQ(bitsOf(mapping.mapped().shape.rate), bitsOf(-0.0f));
}

}  // namespace
