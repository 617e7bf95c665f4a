#include "preset_choice.h"

#include <stdexcept>
#include <vector>

#include "commands/text_compare.h"

namespace slicecastcli {

namespace {

std::string noPresets(pluginhost::HostedEffect& effect) {
    // A VST 2.4 effect has programs, but its format lists no presets here:
    // Slicecast's edition keeps its one program.
    if (effect.format() == pluginhost::PluginFormat::Vst2)
        return "the VST 2.4 plug-in has no presets beyond its one program";
    return effect.name() + " has no presets";
}

}  // namespace

std::int32_t presetIndex(pluginhost::HostedEffect& effect, std::string_view name) {
    const std::vector<std::string> names = effect.presetNames();
    if (names.empty()) throw std::runtime_error("no preset '" + std::string(name) + "': " + noPresets(effect));
    std::string known;
    for (std::size_t index = 0; index < names.size(); ++index) {
        if (sameText(names[index], name)) return static_cast<std::int32_t>(index);
        known += (known.empty() ? "" : ", ") + names[index];
    }
    throw std::runtime_error("the effect has no preset '" + std::string(name) + "'; its presets are " + known);
}

std::string loadPreset(pluginhost::HostedEffect& effect, std::string_view name) {
    const std::int32_t index = presetIndex(effect, name);
    effect.loadPreset(index);
    return effect.presetNames().at(static_cast<std::size_t>(index));
}

}  // namespace slicecastcli
