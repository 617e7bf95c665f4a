#include "plain_parameters.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace slicecast {

std::int32_t stepFromPlain(double value, std::int32_t maxStep) noexcept {
    if (std::isnan(value)) return 0;
    const double clamped = std::clamp(value, 0.0, static_cast<double>(maxStep));
    return static_cast<std::int32_t>(std::floor(clamped + 0.5));
}

float fractionFromPercent(double percent, double defaultPercent) noexcept {
    const double usable = std::isnan(percent) ? defaultPercent : std::clamp(percent, 0.0, 100.0);
    return static_cast<float>(usable) / 100.0f;
}

namespace {

// One plain value into its own field: the one place where each parameter's
// mapping is chosen, for all six at once and for one alone.
void mapInto(SoundParameters& parameters, ParameterIndex index, double plain) noexcept {
    const double defaultPercent = plainRanges[index].defaultValue;
    switch (index) {
        case kWaveLength: parameters.waveLengthIndex = stepFromPlain(plain, kMaxWaveLengthIndex); break;
        case kUpdatePeriod: parameters.updatePeriodIndex = stepFromPlain(plain, kMaxUpdatePeriodIndex); break;
        case kRate: parameters.shape.rate = fractionFromPercent(plain, defaultPercent); break;
        case kFadeOut: parameters.shape.fadeOut = fractionFromPercent(plain, defaultPercent); break;
        case kDecayRate: parameters.shape.decayRate = fractionFromPercent(plain, defaultPercent); break;
        case kMix: parameters.shape.mix = fractionFromPercent(plain, defaultPercent); break;
    }
}

bool sameBits(double a, double b) noexcept { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

SoundParameters soundParametersFromPlain(const std::array<double, 6>& plain) noexcept {
    SoundParameters parameters;
    for (std::size_t index = 0; index < plain.size(); ++index)
        mapInto(parameters, static_cast<ParameterIndex>(index), plain[index]);
    return parameters;
}

PlainParameterMapping::PlainParameterMapping() noexcept
    : plain_(kDefaultPlainValues), mapped_(soundParametersFromPlain(plain_)) {}

const SoundParameters& PlainParameterMapping::update(const std::array<double, 6>& plain) noexcept {
    if (std::memcmp(plain.data(), plain_.data(), sizeof plain_) != 0) {
        plain_ = plain;
        mapped_ = soundParametersFromPlain(plain_);
    }
    return mapped_;
}

const SoundParameters& PlainParameterMapping::updateOne(ParameterIndex index, double plain) noexcept {
    if (!sameBits(plain, plain_[index])) {
        plain_[index] = plain;
        mapInto(mapped_, index, plain);
    }
    return mapped_;
}

}  // namespace slicecast
