#include "info_command.h"

#include <iomanip>
#include <iostream>

#include "effect/effect_session.h"
#include "effect/parameter_settings.h"
#include "effect/preset_choice.h"

namespace slicecastcli {

namespace {

constexpr double kInfoSampleRate = 44100.0;
constexpr std::int32_t kInfoBlockSize = 512;

void line(const std::string& key, const std::string& value) {
    std::cout << std::left << std::setw(16) << (key + ":") << value << '\n';
}

// "  2  Rate = 0.7 (70 %)", as render reports its settings.
void printParameters(pluginhost::HostedEffect& effect) {
    for (std::int32_t index = 0; index < effect.parameterCount(); ++index) {
        const ParameterValue parameter = parameterValue(effect, index, effect.parameter(index));
        std::cout << "  " << std::left << std::setw(4) << index << describe(parameter) << '\n';
    }
}

// "  1   Sixteenth Stutter: WaveLength 1/16, UpdatePeriod 1/2, ...", each
// read back from the effect once the preset is loaded its format's way.
// Loading changes the instance, which info plays nothing through.
void printPresets(pluginhost::HostedEffect& effect) {
    const std::vector<std::string> names = effect.presetNames();
    line("Presets", std::to_string(names.size()));
    for (std::size_t index = 0; index < names.size(); ++index) {
        effect.loadPreset(static_cast<std::int32_t>(index));
        std::string values;
        for (std::int32_t parameter = 0; parameter < effect.parameterCount(); ++parameter) {
            const std::string label = effect.parameterLabel(parameter);
            values += (parameter == 0 ? "" : ", ") + effect.parameterName(parameter) + " " +
                      effect.parameterDisplay(parameter) + (label.empty() ? "" : " " + label);
        }
        std::cout << "  " << std::left << std::setw(4) << index << names[index] << ": " << values << '\n';
    }
}

}  // namespace

void runInfo(const std::string& pluginPath) {
    EffectSession session(pluginPath);
    session.switchOn(kInfoSampleRate, 120.0, 0.0, kInfoBlockSize);
    pluginhost::HostedEffect& effect = session.effect();
    line("Plug-in", session.location());
    for (const pluginhost::EffectFact& fact : effect.facts()) line(fact.name, fact.value);
    line("Parameters", std::to_string(effect.parameterCount()));
    printParameters(effect);
    printPresets(effect);
}

}  // namespace slicecastcli
