#include "info_command.h"

#include <iomanip>
#include <iostream>

#include "effect/effect_session.h"
#include "effect/interface_names.h"
#include "effect/parameter_settings.h"

namespace slicecastcli {

namespace {

constexpr double kInfoSampleRate = 44100.0;
constexpr std::int32_t kInfoBlockSize = 512;

void line(const char* key, const std::string& value) {
    std::cout << std::left << std::setw(16) << (std::string(key) + ":") << value << '\n';
}

std::string hexCode(VstInt32 code) { return hexText(static_cast<std::uint32_t>(code)); }

// "  2  Rate = 0.7 (70 %)", as render reports its settings.
void printParameters(vsthost::PluginInstance& instance) {
    for (VstInt32 index = 0; index < instance.effect()->numParams; ++index) {
        const ParameterValue parameter = parameterValue(instance, index, instance.getParameter(index));
        std::cout << "  " << std::left << std::setw(4) << index << describe(parameter) << '\n';
    }
}

}  // namespace

void runInfo(const std::string& pluginPath) {
    EffectSession session(pluginPath);
    session.switchOn(kInfoSampleRate, 120.0, 0.0, kInfoBlockSize);
    vsthost::PluginInstance& instance = session.instance();
    const AEffect& effect = *instance.effect();
    line("Plug-in", session.libraryPath());
    line("Name", instance.effectName());
    line("Vendor", instance.vendorString());
    line("Product", instance.productString());
    const auto code = fourCharText(effect.uniqueID);
    line("Unique id", code ? *code + " (" + hexCode(effect.uniqueID) + ")" : hexCode(effect.uniqueID));
    line("Version", std::to_string(effect.version));
    line("Vendor version", std::to_string(instance.dispatch(effGetVendorVersion)));
    line("VST version", std::to_string(instance.dispatch(effGetVstVersion)));
    line("Inputs", std::to_string(effect.numInputs));
    line("Outputs", std::to_string(effect.numOutputs));
    line("Flags", flagNames(effect.flags) + " (" + hexCode(effect.flags) + ")");
    const VstIntPtr category = instance.dispatch(effGetPlugCategory);
    line("Category", categoryName(category) + " (" + std::to_string(category) + ")");
    line("Programs", std::to_string(effect.numPrograms));
    line("Parameters", std::to_string(effect.numParams));
    printParameters(instance);
}

}  // namespace slicecastcli
