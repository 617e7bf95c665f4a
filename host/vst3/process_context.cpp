#include "process_context.h"

#include <cmath>

namespace vst3host {

vst3::ProcessContext processContextOf(const pluginhost::BlockTime& time) {
    vst3::ProcessContext context{};
    context.state = vst3::kContTimeValid;
    context.sampleRate = time.sampleRate;
    context.projectTimeSamples = static_cast<vst3::TSamples>(time.samplePosition);
    context.continousTimeSamples = context.projectTimeSamples;
    if (time.playing) context.state |= vst3::kPlaying;
    if (time.positionValid) {
        context.state |= vst3::kProjectTimeMusicValid;
        context.projectTimeMusic = time.position;
        if (time.beatsPerBar > 0 && time.beatUnit > 0) {
            context.state |= vst3::kBarPositionValid;
            const double barQuarters = 4.0 * time.beatsPerBar / time.beatUnit;
            context.barPositionMusic = std::floor(time.position / barQuarters) * barQuarters;
        }
    }
    if (time.tempoValid) {
        context.state |= vst3::kTempoValid;
        context.tempo = time.tempo;
    }
    if (time.beatsPerBar > 0 && time.beatUnit > 0) {
        context.state |= vst3::kTimeSigValid;
        context.timeSigNumerator = time.beatsPerBar;
        context.timeSigDenominator = time.beatUnit;
    }
    return context;
}

}  // namespace vst3host
