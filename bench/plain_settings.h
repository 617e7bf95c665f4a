// The processing cases' settings as the plain values LV2 ports and CLAP
// parameters take: a length's step, a percentage.
#pragma once

#include <cmath>

#include "bench_session.h"
#include "parameter_indices.h"
#include "parameter_values.h"

namespace bench {

inline double plainValueOf(const ParameterValue& parameter) {
    if (parameter.index == kWaveLength) return slicecast::waveLengthIndexFor(parameter.value);
    if (parameter.index == kUpdatePeriod) return slicecast::updatePeriodIndexFor(parameter.value);
    return std::round(parameter.value * 100.0f);
}

}  // namespace bench
