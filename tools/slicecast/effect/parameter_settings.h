// Parameter settings given on the command line as NAME=VALUE: NAME is a
// parameter's name (any case) or index, VALUE a number in the parameter's
// range in the format's own units (0 to 1 for VST 2.4; steps and percent
// for LV2, CLAP and VST 3) or a text the effect shows for the parameter
// ("1/16", "70", "70%"). Texts are read by the format where it can (an LV2
// step's label, CLAP's text_to_value, VST 3's getParamValueByString), else
// found by asking the effect what it
// shows across the range, so this works for any effect.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "hosted_effect.h"

namespace slicecastcli {

// A parameter as the effect shows it.
struct ParameterValue {
    std::int32_t index;
    std::string name;
    float value;
    std::string display;
    std::string label;
};

// The parameter with the value given (the one sent, or read back) and the
// texts the effect shows now.
ParameterValue parameterValue(pluginhost::HostedEffect& effect, std::int32_t index, float value);

// The parameter a name (any case) or an index stands for; throws, listing
// the parameters, when none does.
std::int32_t parameterIndex(pluginhost::HostedEffect& effect, std::string_view name);

// The value a text stands for: a number in the parameter's range, or a
// text the parameter shows. Throws when it never shows it.
float valueFor(pluginhost::HostedEffect& effect, std::int32_t index, std::string_view text);

// Applies the settings in order and tells what each became; throws on the
// first that names no parameter or a value the parameter never shows.
std::vector<ParameterValue> applySettings(pluginhost::HostedEffect& effect, const std::vector<std::string>& settings);

// One line for the user: "WaveLength = 0.6364 (1/16)", "Rate = 0.7 (70 %)".
std::string describe(const ParameterValue& parameter);

}  // namespace slicecastcli
