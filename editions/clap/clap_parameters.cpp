#include "clap_parameters.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "bounded_text.h"
#include "parameter_values.h"
#include "plain_parameters.h"
#include "plain_value_texts.h"
#include "slicecast_identity.h"

namespace slicecast {

namespace {

bool isStepped(clap::Id id) noexcept { return plainRanges[id].stepped; }

std::int32_t maxStepOf(clap::Id id) noexcept { return static_cast<std::int32_t>(plainRanges[id].maximum); }

}  // namespace

ClapParameters::ClapParameters() noexcept {
    for (clap::Id id = 0; id < kClapParameterCount; ++id) values_[id].store(plainRanges[id].defaultValue);
}

double ClapParameters::settled(clap::Id id, double plain) noexcept {
    if (isStepped(id)) return static_cast<double>(stepFromPlain(plain, maxStepOf(id)));
    return std::isnan(plain) ? plainRanges[id].defaultValue : std::clamp(plain, 0.0, 100.0);
}

bool ClapParameters::info(std::uint32_t index, clap::ParamInfo& info) noexcept {
    if (!isId(index)) return false;
    std::memset(&info, 0, sizeof info);
    info.id = index;
    info.flags = clap::kParamIsAutomatable | (isStepped(index) ? clap::kParamIsStepped : 0u);
    info.cookie = nullptr;
    copyBoundedText(info.name, parameterTexts[index].name, clap::kNameSize - 1);
    info.minValue = plainRanges[index].minimum;
    info.maxValue = plainRanges[index].maximum;
    info.defaultValue = plainRanges[index].defaultValue;
    return true;
}

bool ClapParameters::valueToText(clap::Id id, double plain, char* text, std::uint32_t capacity) noexcept {
    if (!isId(id) || text == nullptr) return false;
    char display[kParameterTextBound + 1];
    switch (id) {
        case kWaveLength: writeWaveLengthDisplay(stepFromPlain(plain, kMaxWaveLengthIndex), display); break;
        case kUpdatePeriod: writeUpdatePeriodDisplay(stepFromPlain(plain, kMaxUpdatePeriodIndex), display); break;
        default: writePercentDisplay(fractionFromPercent(plain, plainRanges[id].defaultValue), display); break;
    }
    // A host has no other place to show the unit, so it follows the number.
    const char* label = parameterTexts[id].label;
    const std::size_t displayLength = std::strlen(display);
    const std::size_t labelLength = std::strlen(label);
    const std::size_t length = displayLength + (labelLength > 0 ? 1 + labelLength : 0);
    if (length + 1 > capacity) return false;
    std::memcpy(text, display, displayLength);
    if (labelLength > 0) {
        text[displayLength] = ' ';
        std::memcpy(text + displayLength + 1, label, labelLength);
    }
    text[length] = '\0';
    return true;
}

std::optional<double> ClapParameters::textToValue(clap::Id id, const char* text) noexcept {
    if (!isId(id) || text == nullptr) return std::nullopt;
    return plainValueOfText(static_cast<ParameterIndex>(id), text);
}

void ClapParameters::set(clap::Id id, double plain) noexcept {
    if (!isId(id)) return;
    values_[id].store(settled(id, plain), std::memory_order_relaxed);
    revision_.fetch_add(1, std::memory_order_release);
}

double ClapParameters::get(clap::Id id) const noexcept { return values_[id].load(std::memory_order_relaxed); }

std::array<double, kClapParameterCount> ClapParameters::all() const noexcept {
    std::array<double, kClapParameterCount> plain{};
    for (clap::Id id = 0; id < kClapParameterCount; ++id) plain[id] = get(id);
    return plain;
}

void ClapParameters::setAll(const std::array<double, kClapParameterCount>& plain) noexcept {
    for (clap::Id id = 0; id < kClapParameterCount; ++id) set(id, plain[id]);
}

}  // namespace slicecast
