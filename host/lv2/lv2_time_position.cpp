#include "lv2_time_position.h"

#include <cmath>

namespace lv2host {

TimePosition dawPosition(std::int64_t sampleFrame, bool playing, double position, double tempo,
                         std::int32_t beatsPerBar, std::int32_t beatUnit) {
    // time:beat counts beats of the metre's unit: a quarter note is
    // beatUnit / 4 of them.
    const double beats = position * static_cast<double>(beatUnit) / 4.0;
    const double bar = std::floor(beats / static_cast<double>(beatsPerBar));
    TimePosition event;
    event.frame = TimeValue::ofLong(sampleFrame);
    event.speed = TimeValue::ofFloat(playing ? 1.0f : 0.0f);
    event.beat = TimeValue::ofDouble(beats);
    event.bar = TimeValue::ofLong(static_cast<std::int64_t>(bar));
    event.barBeat = TimeValue::ofFloat(static_cast<float>(beats - bar * static_cast<double>(beatsPerBar)));
    event.beatsPerBar = TimeValue::ofFloat(static_cast<float>(beatsPerBar));
    event.beatUnit = TimeValue::ofInt(beatUnit);
    event.beatsPerMinute = TimeValue::ofDouble(tempo);
    return event;
}

}  // namespace lv2host
