// Parameter settings given on the command line as NAME=VALUE: NAME is a
// parameter's name (any case) or index, VALUE a normalised number in 0..1
// or a text the effect shows for the parameter ("1/16", "70", "70%").
// Texts are found by asking the effect, so this works for any effect.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "plugin_instance.h"

namespace slicecastcli {

// A parameter as the effect shows it.
struct ParameterValue {
    VstInt32 index;
    std::string name;
    float value;
    std::string display;
    std::string label;
};

// The parameter with the value given (the one sent, or read back) and the
// texts the effect shows now.
ParameterValue parameterValue(vsthost::PluginInstance& instance, VstInt32 index, float value);

// The parameter a name (any case) or an index stands for; throws, listing
// the parameters, when none does.
VstInt32 parameterIndex(vsthost::PluginInstance& instance, std::string_view name);

// The normalised value a text stands for: a number from 0 to 1, or a text
// the parameter shows (found by setting it). Throws when it never shows it.
float valueFor(vsthost::PluginInstance& instance, VstInt32 index, std::string_view text);

// Applies the settings in order and tells what each became; throws on the
// first that names no parameter or a value the parameter never shows.
std::vector<ParameterValue> applySettings(vsthost::PluginInstance& instance, const std::vector<std::string>& settings);

// One line for the user: "WaveLength = 0.6364 (1/16)", "Rate = 0.7 (70 %)".
std::string describe(const ParameterValue& parameter);

}  // namespace slicecastcli
