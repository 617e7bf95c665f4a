#include "vst3_parameters.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "parameter_values.h"
#include "plain_parameters.h"
#include "plain_value_texts.h"
#include "slicecast_identity.h"
#include "vst3_text.h"

namespace slicecast {

namespace {

constexpr double kPercent = 100.0;

bool isStepped(vst3::ParamID id) noexcept { return plainRanges[id].stepped; }

// N: the list's last step; 0 for a continuous parameter.
std::int32_t stepCountOf(vst3::ParamID id) noexcept {
    return isStepped(id) ? static_cast<std::int32_t>(plainRanges[id].maximum) : 0;
}

// min(N, floor(v x (N + 1))) for a settled v.
std::int32_t stepOfNormalized(vst3::ParamID id, double normalized) noexcept {
    const std::int32_t steps = stepCountOf(id);
    return std::min(steps, static_cast<std::int32_t>(normalized * static_cast<double>(steps + 1)));
}

double normalizedOfStep(vst3::ParamID id, std::int32_t step) noexcept {
    return static_cast<double>(step) / static_cast<double>(stepCountOf(id));
}

double defaultNormalized(vst3::ParamID id) noexcept {
    const PlainRange& range = plainRanges[id];
    return range.stepped ? normalizedOfStep(id, static_cast<std::int32_t>(range.defaultValue))
                         : range.defaultValue / kPercent;
}

}  // namespace

bool vst3ParameterInfo(std::int32_t index, vst3::ParameterInfo& info) noexcept {
    if (index < 0 || index >= kVst3ParameterCount) return false;
    const auto id = static_cast<vst3::ParamID>(index);
    std::memset(&info, 0, sizeof info);
    info.id = id;
    writeUtf16(parameterTexts[id].name, info.title, vst3::kString128Size);
    writeUtf16(parameterTexts[id].name, info.shortTitle, vst3::kString128Size);
    writeUtf16(parameterTexts[id].label, info.units, vst3::kString128Size);
    info.stepCount = stepCountOf(id);
    info.defaultNormalizedValue = defaultNormalized(id);
    info.unitId = vst3::kRootUnitId;
    info.flags = vst3::kCanAutomate | (isStepped(id) ? vst3::kIsList : 0);
    return true;
}

NormalizedValues defaultNormalizedValues() noexcept {
    NormalizedValues values{};
    for (vst3::ParamID id = 0; id < kVst3ParameterCount; ++id) values[id] = defaultNormalized(id);
    return values;
}

double settledNormalized(vst3::ParamID id, double normalized) noexcept {
    return std::isnan(normalized) ? defaultNormalized(id) : std::clamp(normalized, 0.0, 1.0);
}

double plainOfNormalized(vst3::ParamID id, double normalized) noexcept {
    if (!isVst3ParameterId(id)) return normalized;
    const double settled = settledNormalized(id, normalized);
    return isStepped(id) ? static_cast<double>(stepOfNormalized(id, settled)) : settled * kPercent;
}

double normalizedOfPlain(vst3::ParamID id, double plain) noexcept {
    if (!isVst3ParameterId(id)) return plain;
    if (isStepped(id)) return normalizedOfStep(id, stepFromPlain(plain, stepCountOf(id)));
    return std::isnan(plain) ? defaultNormalized(id) : std::clamp(plain, 0.0, kPercent) / kPercent;
}

bool writeDisplayText(vst3::ParamID id, double normalized, vst3::String128 text) noexcept {
    if (!isVst3ParameterId(id) || text == nullptr) return false;
    const double settled = settledNormalized(id, normalized);
    char display[kParameterTextBound + 1];
    switch (id) {
        case kWaveLength: writeWaveLengthDisplay(stepOfNormalized(id, settled), display); break;
        case kUpdatePeriod: writeUpdatePeriodDisplay(stepOfNormalized(id, settled), display); break;
        default: writePercentDisplay(static_cast<float>(settled), display); break;
    }
    writeUtf16(display, text, vst3::kString128Size);
    return true;
}

std::optional<double> normalizedOfText(vst3::ParamID id, const vst3::TChar* text) noexcept {
    if (!isVst3ParameterId(id)) return std::nullopt;
    char ascii[vst3::kString128Size];
    const std::optional<std::string_view> read = asciiOf(text, ascii, sizeof ascii);
    if (!read) return std::nullopt;
    const std::optional<double> plain = plainValueOfText(static_cast<ParameterIndex>(id), *read);
    if (!plain) return std::nullopt;
    return normalizedOfPlain(id, *plain);
}

void mapInto(SoundParameters& parameters, vst3::ParamID id, double normalized) noexcept {
    const auto fraction = static_cast<float>(normalized);
    switch (id) {
        case kWaveLength: parameters.waveLengthIndex = stepOfNormalized(id, normalized); break;
        case kUpdatePeriod: parameters.updatePeriodIndex = stepOfNormalized(id, normalized); break;
        case kRate: parameters.shape.rate = fraction; break;
        case kFadeOut: parameters.shape.fadeOut = fraction; break;
        case kDecayRate: parameters.shape.decayRate = fraction; break;
        case kMix: parameters.shape.mix = fraction; break;
        default: break;
    }
}

SoundParameters soundParametersOf(const NormalizedValues& normalized) noexcept {
    SoundParameters parameters;
    for (vst3::ParamID id = 0; id < kVst3ParameterCount; ++id) mapInto(parameters, id, normalized[id]);
    return parameters;
}

PlainValues plainValuesOf(const NormalizedValues& normalized) noexcept {
    PlainValues plain{};
    for (vst3::ParamID id = 0; id < kVst3ParameterCount; ++id) plain[id] = plainOfNormalized(id, normalized[id]);
    return plain;
}

NormalizedValues normalizedValuesOf(const PlainValues& plain) noexcept {
    NormalizedValues normalized{};
    for (vst3::ParamID id = 0; id < kVst3ParameterCount; ++id) normalized[id] = normalizedOfPlain(id, plain[id]);
    return normalized;
}

}  // namespace slicecast
