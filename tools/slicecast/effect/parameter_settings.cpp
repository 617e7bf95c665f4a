#include "parameter_settings.h"

#include <charconv>
#include <stdexcept>
#include <string_view>

#include "display_match.h"
#include "commands/text_compare.h"

namespace slicecastcli {

namespace {

// A text is looked for among the displays of 0, 1/N, 2/N, ... 1. The first
// value that shows exactly the text wins, which gives round values such as
// 0.7 for "70"; failing that, the value whose number comes closest.
constexpr int kSearchSteps = 10000;
// Longer lists of valid texts are cut in the middle.
constexpr std::size_t kListedAtEachEnd = 6;

std::optional<float> parseNormalised(std::string_view text) {
    const auto value = parseNumber<float>(text);
    if (!value || !(*value >= 0.0f && *value <= 1.0f)) return std::nullopt;
    return value;
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

VstInt32 parameterIndex(vsthost::PluginInstance& instance, std::string_view name) {
    const VstInt32 count = instance.effect()->numParams;
    if (const auto index = parseNumber<VstInt32>(name); index && *index >= 0 && *index < count) return *index;
    std::vector<std::string> names;
    for (VstInt32 index = 0; index < count; ++index) {
        const std::string parameterName = instance.parameterName(index);
        if (sameText(parameterName, name)) return index;
        names.push_back(std::to_string(index) + " " + parameterName);
    }
    throw std::runtime_error("the effect has no parameter '" + std::string(name) + "'; its parameters are " +
                             (names.empty() ? std::string("none") : listed(names)));
}

namespace {

float valueShowing(vsthost::PluginInstance& instance, VstInt32 index, std::string_view text) {
    const DisplayMatch match(text);
    const float before = instance.getParameter(index);
    std::optional<std::pair<double, float>> closest;
    std::vector<std::string> shown;
    for (int step = 0; step <= kSearchSteps; ++step) {
        const auto value = static_cast<float>(static_cast<double>(step) / kSearchSteps);
        instance.setParameter(index, value);
        const std::string display = instance.parameterDisplay(index);
        const std::string label = instance.parameterLabel(index);
        if (match.exact(display, label)) return value;
        const auto distance = match.distance(display, label);
        if (distance && (!closest || *distance < closest->first)) closest = {{*distance, value}};
        if (shown.empty() || shown.back() != trimmed(display)) shown.emplace_back(trimmed(display));
    }
    if (closest) return closest->second;
    instance.setParameter(index, before);
    throw std::runtime_error("parameter " + instance.parameterName(index) + " never shows '" + std::string(text) +
                             "'; it shows " + listed(shown) + ", or takes a number from 0 to 1");
}

ParameterValue apply(vsthost::PluginInstance& instance, std::string_view setting) {
    const auto equals = setting.find('=');
    if (equals == std::string_view::npos) {
        throw std::runtime_error("a setting is NAME=VALUE, not '" + std::string(setting) + "'");
    }
    const VstInt32 index = parameterIndex(instance, setting.substr(0, equals));
    const float value = valueFor(instance, index, setting.substr(equals + 1));
    instance.setParameter(index, value);
    return parameterValue(instance, index, value);
}

}  // namespace

float valueFor(vsthost::PluginInstance& instance, VstInt32 index, std::string_view text) {
    const auto number = parseNormalised(text);
    return number ? *number : valueShowing(instance, index, text);
}

ParameterValue parameterValue(vsthost::PluginInstance& instance, VstInt32 index, float value) {
    return {index, instance.parameterName(index), value, std::string(trimmed(instance.parameterDisplay(index))),
            std::string(trimmed(instance.parameterLabel(index)))};
}

std::vector<ParameterValue> applySettings(vsthost::PluginInstance& instance, const std::vector<std::string>& settings) {
    std::vector<ParameterValue> applied;
    for (const std::string& setting : settings) applied.push_back(apply(instance, setting));
    return applied;
}

std::string describe(const ParameterValue& parameter) {
    char number[32];
    const auto result = std::to_chars(number, number + sizeof(number), parameter.value);
    return parameter.name + " = " + std::string(number, result.ptr) + " (" + parameter.display +
           (parameter.label.empty() ? "" : " " + parameter.label) + ")";
}

}  // namespace slicecastcli
