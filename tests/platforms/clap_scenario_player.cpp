#include "clap_scenario_player.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

#include "clap_transport.h"

namespace platforms {

namespace {

double stepOf(float value, float steps) {
    const float product = value * steps;
    if (!(product > 0.0f)) return 0.0;
    return std::min(std::trunc(static_cast<double>(product)), static_cast<double>(steps));
}

}  // namespace

double clapPlainOf(VstInt32 index, float value) {
    if (index == 0) return stepOf(value, 11.0f);
    if (index == 1) return stepOf(value, 4.0f);
    for (const double percent : {std::round(static_cast<double>(value) * 100.0), static_cast<double>(value) * 100.0}) {
        if (static_cast<float>(percent) / 100.0f == value) return percent;
    }
    throw std::invalid_argument("no percentage plays as " + std::to_string(value));
}

clap::EventTransport clapTransportOf(const pluginhost::BlockTime& time) {
    clap::EventTransport transport{};
    transport.header = {sizeof transport, 0, clap::kCoreEventSpace, clap::kEventTransport, 0};
    if (time.positionValid) {
        transport.flags |= clap::kTransportHasBeatsTimeline;
        transport.songPosBeats = claphost::beatTimeOf(time.position);
    }
    if (time.tempoValid) {
        transport.flags |= clap::kTransportHasTempo;
        transport.tempo = time.tempo;
    }
    if (time.playing) transport.flags |= clap::kTransportIsPlaying;
    return transport;
}

pluginhost::BlockTime onBeatTimeGrid(pluginhost::BlockTime time) {
    time.position = claphost::positionOfBeatTime(claphost::beatTimeOf(time.position));
    return time;
}

ClapScenarioPlayer::ClapScenarioPlayer(const claphost::ClapLibrary& library) : plugin_(library, host_) {}

void ClapScenarioPlayer::start(float sampleRate) {
    if (!plugin_.activate(sampleRate, 1, kLongestScenarioBlock) || !plugin_.startProcessing())
        throw claphost::HostError("the CLAP plug-in did not start");
}

void ClapScenarioPlayer::setParameter(VstInt32 index, float value) {
    pending_.addParamValue(0, static_cast<clap::Id>(index), clapPlainOf(index, value));
}

void ClapScenarioPlayer::process(const pluginhost::BlockTime& time, const float* inLeft, const float* inRight, float* outLeft,
                                 float* outRight, std::int32_t frames) {
    const clap::EventTransport transport = clapTransportOf(time);
    plugin_.process({inLeft, inRight, outLeft, outRight, static_cast<std::uint32_t>(frames), &transport, &pending_,
                     steadyTime_});
    pending_.clear();
    steadyTime_ += frames;
}

}  // namespace platforms
