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

SoundParameters soundParametersFromPlain(const std::array<double, 6>& plain) noexcept {
    const auto percent = [&plain](ParameterIndex index) {
        return fractionFromPercent(plain[index], plainRanges[index].defaultValue);
    };
    return {stepFromPlain(plain[kWaveLength], kMaxWaveLengthIndex),
            stepFromPlain(plain[kUpdatePeriod], kMaxUpdatePeriodIndex),
            {percent(kRate), percent(kFadeOut), percent(kDecayRate), percent(kMix)}};
}

namespace {

std::array<double, 6> plainDefaults() noexcept {
    std::array<double, 6> plain{};
    for (std::size_t index = 0; index < plain.size(); ++index) plain[index] = plainRanges[index].defaultValue;
    return plain;
}

}  // namespace

PlainParameterMapping::PlainParameterMapping() noexcept
    : plain_(plainDefaults()), mapped_(soundParametersFromPlain(plain_)) {}

const SoundParameters& PlainParameterMapping::update(const std::array<double, 6>& plain) noexcept {
    if (std::memcmp(plain.data(), plain_.data(), sizeof plain_) != 0) {
        plain_ = plain;
        mapped_ = soundParametersFromPlain(plain_);
    }
    return mapped_;
}

}  // namespace slicecast
