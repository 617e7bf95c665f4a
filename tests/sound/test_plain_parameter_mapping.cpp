// The plain-value mapping the LV2 and CLAP editions keep on their audio
// threads: whether all six values come at once or one alone, what it holds
// must be what mapping the six afresh gives, to the bit.
#include <gtest/gtest.h>

#include <array>
#include <limits>

#include "plain_parameters.h"
#include "sound_parameter_bits.h"

namespace {

using slicecast::ParameterIndex;
using slicecast::PlainParameterMapping;
using slicecast::SoundParameters;
using Plain = std::array<double, 6>;

using testsupport::expectSameBits;

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
    expectSameBits(slicecast::soundParametersFromPlain(slicecast::kDefaultPlainValues), mapping.mapped());
}

TEST(PlainParameterMapping, OneValueAloneMapsAsAllSixAfresh) {
    PlainParameterMapping mapping;
    Plain plain = slicecast::kDefaultPlainValues;
    for (const auto& change : kChanges) {
        plain[change.index] = change.value;
        SCOPED_TRACE(testing::Message() << "parameter " << change.index << " to " << change.value);
        expectSameBits(slicecast::soundParametersFromPlain(plain), mapping.updateOne(change.index, change.value));
        expectSameBits(slicecast::soundParametersFromPlain(plain), mapping.mapped());
    }
}

TEST(PlainParameterMapping, AllSixAndOneAloneMayTakeTurns) {
    PlainParameterMapping mapping;
    Plain plain = slicecast::kDefaultPlainValues;
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
    EXPECT_EQ(testsupport::floatBits(mapping.mapped().shape.rate), testsupport::floatBits(0.0f));
    mapping.updateOne(slicecast::kRate, -0.0);
    EXPECT_EQ(testsupport::floatBits(mapping.mapped().shape.rate), testsupport::floatBits(-0.0f));
}

}  // namespace
