#include "slicecast_steps.h"

#include "clap_identity.h"
#include "lv2_identity.h"
#include "parameter_tables.h"
#include "parameter_values.h"
#include "plain_parameters.h"
#include "vst3_identity.h"
#include "vst3_names.h"
#include "vst_identity.h"
#include "vst_names.h"

namespace slicecastcli {

std::optional<SlicecastSteps> SlicecastSteps::of(pluginhost::HostedEffect& effect) {
    const std::string id = effect.identifier();
    switch (effect.format()) {
        case pluginhost::PluginFormat::Vst2:
            if (id == vst2host::fourCharText(slicecast::kUniqueId)) return SlicecastSteps(effect.format());
            break;
        case pluginhost::PluginFormat::Lv2:
            if (id == slicecast::kLv2PluginUri) return SlicecastSteps(effect.format());
            break;
        case pluginhost::PluginFormat::Clap:
            if (id == slicecast::kClapPluginId) return SlicecastSteps(effect.format());
            break;
        case pluginhost::PluginFormat::Vst3:
            if (id == vst3host::uidText(slicecast::kVst3ProcessorClassId)) return SlicecastSteps(effect.format());
            break;
    }
    return std::nullopt;
}

std::int32_t SlicecastSteps::waveLength(float value) const {
    if (format_ == pluginhost::PluginFormat::Vst2) return slicecast::waveLengthIndexFor(value);
    return slicecast::stepFromPlain(value, slicecast::kMaxWaveLengthIndex);
}

std::int32_t SlicecastSteps::updatePeriod(float value) const {
    if (format_ == pluginhost::PluginFormat::Vst2) return slicecast::updatePeriodIndexFor(value);
    return slicecast::stepFromPlain(value, slicecast::kMaxUpdatePeriodIndex);
}

}  // namespace slicecastcli
