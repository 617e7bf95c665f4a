#include "slicecast_steps.h"

#include "clap_identity.h"
#include "lv2_identity.h"
#include "parameter_tables.h"
#include "parameter_values.h"
#include "plain_parameters.h"
#include "vst_identity.h"
#include "vst_names.h"

namespace slicecastcli {

std::optional<SlicecastSteps> SlicecastSteps::of(vsthost::HostedEffect& effect) {
    const std::string id = effect.identifier();
    switch (effect.format()) {
        case vsthost::PluginFormat::Vst2:
            if (id == vsthost::fourCharText(slicecast::kUniqueId)) return SlicecastSteps(effect.format());
            break;
        case vsthost::PluginFormat::Lv2:
            if (id == slicecast::kLv2PluginUri) return SlicecastSteps(effect.format());
            break;
        case vsthost::PluginFormat::Clap:
            if (id == slicecast::kClapPluginId) return SlicecastSteps(effect.format());
            break;
    }
    return std::nullopt;
}

std::int32_t SlicecastSteps::waveLength(float value) const {
    if (format_ == vsthost::PluginFormat::Vst2) return slicecast::waveLengthIndexFor(value);
    return slicecast::stepFromPlain(value, slicecast::kMaxWaveLengthIndex);
}

std::int32_t SlicecastSteps::updatePeriod(float value) const {
    if (format_ == vsthost::PluginFormat::Vst2) return slicecast::updatePeriodIndexFor(value);
    return slicecast::stepFromPlain(value, slicecast::kMaxUpdatePeriodIndex);
}

}  // namespace slicecastcli
