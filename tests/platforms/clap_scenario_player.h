// The scenarios played through a CLAP edition: the VST 2.4 terms they are
// written in turned into CLAP's. A parameter value becomes the plain value
// the VST 2.4 edition would play (a step, or a percentage whose single
// precision fraction is the value itself) sent as an event at the next
// block's first frame; a time record becomes the block's transport, its
// position in fixed point.
#pragma once

#include <memory>

#include "clap_event_list.h"
#include "clap_host_object.h"
#include "clap_instance.h"
#include "render_scenarios.h"

namespace platforms {

// The plain value that plays as value does in the VST 2.4 edition; throws
// std::invalid_argument for a percentage no plain value reproduces.
double clapPlainOf(VstInt32 index, float value);
// The record's position and tempo, where flagged valid, and its playing flag.
clap::EventTransport clapTransportOf(const pluginhost::BlockTime& time);
// The record with its position on CLAP's fixed-point grid: what a CLAP
// plug-in reads from clapTransportOf(time).
pluginhost::BlockTime onBeatTimeGrid(pluginhost::BlockTime time);

class ClapScenarioPlayer final : public ScenarioPlayer {
public:
    explicit ClapScenarioPlayer(const claphost::ClapLibrary& library);

    void start(float sampleRate) override;
    void setParameter(VstInt32 index, float value) override;
    void process(const pluginhost::BlockTime& time, const float* inLeft, const float* inRight, float* outLeft,
                 float* outRight, std::int32_t frames) override;

private:
    claphost::HostObject host_;
    claphost::ClapInstance plugin_;
    claphost::EventList pending_;
    std::int64_t steadyTime_ = 0;
};

}  // namespace platforms
