#include "info_command.h"

#include <iomanip>
#include <iostream>

#include "effect/effect_session.h"
#include "effect/parameter_settings.h"

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

}  // namespace

void runInfo(const std::string& pluginPath) {
    EffectSession session(pluginPath);
    session.switchOn(kInfoSampleRate, 120.0, 0.0, kInfoBlockSize);
    pluginhost::HostedEffect& effect = session.effect();
    line("Plug-in", session.location());
    for (const pluginhost::EffectFact& fact : effect.facts()) line(fact.name, fact.value);
    line("Parameters", std::to_string(effect.parameterCount()));
    printParameters(effect);
}

}  // namespace slicecastcli
