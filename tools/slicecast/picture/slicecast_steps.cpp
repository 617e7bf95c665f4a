#include "slicecast_steps.h"

#include "parameter_tables.h"
#include "parameter_values.h"
#include "plain_parameters.h"

namespace slicecastcli {

std::int32_t SlicecastSteps::waveLength(float value) const {
    if (format_ == pluginhost::PluginFormat::Vst2) return slicecast::waveLengthIndexFor(value);
    return slicecast::stepFromPlain(value, slicecast::kMaxWaveLengthIndex);
}

std::int32_t SlicecastSteps::updatePeriod(float value) const {
    if (format_ == pluginhost::PluginFormat::Vst2) return slicecast::updatePeriodIndexFor(value);
    return slicecast::stepFromPlain(value, slicecast::kMaxUpdatePeriodIndex);
}

}  // namespace slicecastcli
