// The LV2 edition as a scenario plays it (render_scenarios.h): each block
// brings one time:Position event at its start that says what the VST 2.4
// host's time record says, and the parameters arrive as the plain port
// values that give the sound the very same numbers. Where the record knows
// the position and tempo, both editions must then play the same bits.
#pragma once

#include <cstdint>

#include "lv2_time_position.h"
#include "render_scenarios.h"

namespace platforms {

// The control ports wave_length .. mix, as the bundle numbers them.
constexpr std::uint32_t kFirstParameterPort = 4;

// The plain port value that the LV2 edition turns into what the VST 2.4
// edition makes of value: the step number for the two lengths, the
// percentage p with float(p) / 100 == value for the others. Throws
// std::invalid_argument for a value no percentage gives exactly.
float plainValueOf(std::int32_t index, float value);

// The record as a host's event: beat (Double, beatUnit 4) where the
// position is valid, the tempo where it is valid and 0 (no tempo) where it
// is not, speed 1 while playing and 0 while stopped.
lv2host::TimePosition timePositionOf(const pluginhost::BlockTime& time);

// Instance: anything with setControl(port, value) and run(StereoPorts-like
// {inLeft, inRight, outLeft, outRight}, frames, events), such as the lilv
// host's Lv2Instance or a plug-in driven through lv2_descriptor directly.
template <typename Instance>
class Lv2ScenarioEffect : public ScenarioPlayer {
public:
    explicit Lv2ScenarioEffect(Instance& instance) : instance_(instance) {}

    // The instance was made at the scenario's rate.
    void start(float) override {}

    void setParameter(VstInt32 index, float value) override {
        instance_.setControl(kFirstParameterPort + static_cast<std::uint32_t>(index), plainValueOf(index, value));
    }

    void process(const pluginhost::BlockTime& time, const float* inLeft, const float* inRight, float* outLeft, float* outRight,
                 std::int32_t frames) override {
        instance_.run({inLeft, inRight, outLeft, outRight}, static_cast<std::uint32_t>(frames), {timePositionOf(time)});
    }

private:
    Instance& instance_;
};

}  // namespace platforms
