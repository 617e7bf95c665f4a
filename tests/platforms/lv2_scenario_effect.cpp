#include "lv2_scenario_effect.h"

#include <cmath>
#include <stdexcept>
#include <string>

#include "parameter_values.h"

namespace platforms {

float plainValueOf(std::int32_t index, float value) {
    if (index == 0) return static_cast<float>(slicecast::waveLengthIndexFor(value));
    if (index == 1) return static_cast<float>(slicecast::updatePeriodIndexFor(value));
    const float percent = std::round(value * 100.0f);
    if (percent / 100.0f != value) {
        throw std::invalid_argument("no percentage gives the parameter value " + std::to_string(value));
    }
    return percent;
}

lv2host::TimePosition timePositionOf(const pluginhost::BlockTime& time) {
    lv2host::TimePosition event;
    event.speed = lv2host::TimeValue::ofFloat(time.playing ? 1.0f : 0.0f);
    if (time.positionValid) {
        event.beat = lv2host::TimeValue::ofDouble(time.position);
        event.beatUnit = lv2host::TimeValue::ofInt(4);
    }
    event.beatsPerMinute = lv2host::TimeValue::ofDouble(time.tempoValid ? time.tempo : 0.0);
    return event;
}

}  // namespace platforms
