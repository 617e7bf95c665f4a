#include "parameter_settings.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <stdexcept>
#include <string_view>

#include "display_match.h"
#include "commands/text_compare.h"

namespace slicecastcli {

namespace {

// A text is looked for among the displays of the range's minimum, then
// 1/N, 2/N, ... of the way to its maximum (for VST 2.4: 0, 1/N, ... 1). The
// first value that shows exactly the text wins, which gives round values
// such as 0.7 for "70"; failing that, the value whose number comes closest.
constexpr int kSearchSteps = 10000;
// Longer lists of valid texts are cut in the middle.
constexpr std::size_t kListedAtEachEnd = 6;

std::optional<float> parseInRange(std::string_view text, const pluginhost::ParameterRange& range) {
    const auto value = parseNumber<float>(text);
    if (!value || !(*value >= range.minimum && *value <= range.maximum)) return std::nullopt;
    return value;
}

std::string number(float value) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof(text), value);
    return std::string(text, result.ptr);
}

std::string listed(const std::vector<std::string>& texts) {
    std::string list;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const bool cut =
            texts.size() > 2 * kListedAtEachEnd && i >= kListedAtEachEnd && i < texts.size() - kListedAtEachEnd;
        if (cut) {
            if (i == kListedAtEachEnd) list += ", ...";
            continue;
        }
        list += (list.empty() ? "" : ", ") + texts[i];
    }
    return list;
}

}  // namespace

std::int32_t parameterIndex(pluginhost::HostedEffect& effect, std::string_view name) {
    const std::int32_t count = effect.parameterCount();
    if (const auto index = parseNumber<std::int32_t>(name); index && *index >= 0 && *index < count) return *index;
    std::vector<std::string> names;
    for (std::int32_t index = 0; index < count; ++index) {
        const std::string parameterName = effect.parameterName(index);
        if (sameText(parameterName, name)) return index;
        names.push_back(std::to_string(index) + " " + parameterName);
    }
    throw std::runtime_error("the effect has no parameter '" + std::string(name) + "'; its parameters are " +
                             (names.empty() ? std::string("none") : listed(names)));
}

namespace {

// The values tried: the whole numbers of the range where those are the
// steps, else kSearchSteps + 1 values evenly from the minimum to the maximum.
int searchSteps(const pluginhost::ParameterRange& range) {
    if (!range.wholeNumbers) return kSearchSteps;
    return static_cast<int>(std::min<double>(std::floor(range.maximum) - std::ceil(range.minimum), kSearchSteps));
}

float valueAtStep(const pluginhost::ParameterRange& range, int step) {
    if (range.wholeNumbers) return std::ceil(range.minimum) + static_cast<float>(step);
    const double width = static_cast<double>(range.maximum) - range.minimum;
    return static_cast<float>(range.minimum + width * (static_cast<double>(step) / kSearchSteps));
}

float valueShowing(pluginhost::HostedEffect& effect, std::int32_t index, std::string_view text) {
    const DisplayMatch match(text);
    const pluginhost::ParameterRange range = effect.parameterRange(index);
    const float before = effect.parameter(index);
    std::optional<std::pair<double, float>> closest;
    std::vector<std::string> shown;
    for (int step = 0; step <= searchSteps(range); ++step) {
        const auto value = valueAtStep(range, step);
        effect.setParameter(index, value);
        const std::string display = effect.parameterDisplay(index);
        const std::string label = effect.parameterLabel(index);
        if (match.exact(display, label)) return value;
        const auto distance = match.distance(display, label);
        if (distance && (!closest || *distance < closest->first)) closest = {{*distance, value}};
        if (shown.empty() || shown.back() != trimmed(display)) shown.emplace_back(trimmed(display));
    }
    if (closest) return closest->second;
    effect.setParameter(index, before);
    throw std::runtime_error("parameter " + effect.parameterName(index) + " never shows '" + std::string(text) +
                             "'; it shows " + listed(shown) + ", or takes a number from " +
                             number(range.minimum) + " to " + number(range.maximum));
}

ParameterValue apply(pluginhost::HostedEffect& effect, std::string_view setting) {
    const auto equals = setting.find('=');
    if (equals == std::string_view::npos) {
        throw std::runtime_error("a setting is NAME=VALUE, not '" + std::string(setting) + "'");
    }
    const std::int32_t index = parameterIndex(effect, setting.substr(0, equals));
    const float value = valueFor(effect, index, setting.substr(equals + 1));
    effect.setParameter(index, value);
    return parameterValue(effect, index, value);
}

}  // namespace

float valueFor(pluginhost::HostedEffect& effect, std::int32_t index, std::string_view text) {
    if (const auto number = parseInRange(text, effect.parameterRange(index))) return *number;
    if (const auto value = effect.parameterFromText(index, text)) return *value;
    return valueShowing(effect, index, text);
}

ParameterValue parameterValue(pluginhost::HostedEffect& effect, std::int32_t index, float value) {
    return {index, effect.parameterName(index), value, std::string(trimmed(effect.parameterDisplay(index))),
            std::string(trimmed(effect.parameterLabel(index)))};
}

std::vector<ParameterValue> applySettings(pluginhost::HostedEffect& effect, const std::vector<std::string>& settings) {
    std::vector<ParameterValue> applied;
    for (const std::string& setting : settings) applied.push_back(apply(effect, setting));
    return applied;
}

std::string describe(const ParameterValue& parameter) {
    char number[32];
    const auto result = std::to_chars(number, number + sizeof(number), parameter.value);
    return parameter.name + " = " + std::string(number, result.ptr) + " (" + parameter.display +
           (parameter.label.empty() ? "" : " " + parameter.label) + ")";
}

}  // namespace slicecastcli
