#include "plain_value_texts.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>

#include "parameter_values.h"
#include "plain_parameters.h"
#include "slicecast_identity.h"

namespace slicecast {

namespace {

std::string_view trimmed(std::string_view text) noexcept {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

std::optional<double> stepOfText(ParameterIndex index, std::string_view text) noexcept {
    char display[kParameterTextBound + 1];
    const auto maxStep = static_cast<std::int32_t>(plainRanges[index].maximum);
    for (std::int32_t step = 0; step <= maxStep; ++step) {
        if (index == kWaveLength)
            writeWaveLengthDisplay(step, display);
        else
            writeUpdatePeriodDisplay(step, display);
        if (text == display) return static_cast<double>(step);
    }
    return std::nullopt;
}

std::optional<double> percentOfText(std::string_view text) noexcept {
    if (!text.empty() && text.back() == '%') text = trimmed(text.substr(0, text.size() - 1));
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
    return std::clamp(value, 0.0, 100.0);
}

}  // namespace

std::optional<double> plainValueOfText(ParameterIndex index, std::string_view text) noexcept {
    const std::string_view read = trimmed(text);
    return plainRanges[index].stepped ? stepOfText(index, read) : percentOfText(read);
}

}  // namespace slicecast
