#include "effect_session.h"

#include <string>

namespace slicecastcli {

namespace {
constexpr int kMaxChannels = 2;

bool feedable(VstInt32 channels) { return channels >= 1 && channels <= kMaxChannels; }
}  // namespace

EffectSession::EffectSession(const std::string& libraryPath)
    : library_(libraryPath), instance_(host_, library_.entryPoint()) {}

void EffectSession::requireRenderable(int fileChannels) const {
    const AEffect& effect = *instance_.effect();
    if ((effect.flags & effFlagsCanReplacing) == 0) {
        throw vsthost::HostError(
            "the effect cannot process in place (effFlagsCanReplacing is not set); "
            "this host calls processReplacing only");
    }
    if (!feedable(effect.numInputs) || !feedable(effect.numOutputs)) {
        throw vsthost::HostError("the effect has " + std::to_string(effect.numInputs) + " inputs and " +
                                 std::to_string(effect.numOutputs) +
                                 " outputs; this host feeds effects with 1 or 2 of each");
    }
    if (effect.numInputs < fileChannels) {
        throw vsthost::HostError("the effect has one input but the file has " + std::to_string(fileChannels) +
                                 " channels; give it a mono file");
    }
}

void EffectSession::switchOn(double sampleRate, double tempo, double start, std::int32_t blockSize) {
    host_.transport = vsthost::Transport(sampleRate, tempo, start);
    host_.blockSize = blockSize;
    instance_.switchOn(static_cast<float>(sampleRate), blockSize);
}

void EffectSession::play(const vsthost::PlaybackScript& script, const vsthost::BlockSizer& sizer,
                         std::int64_t inputFrames, vsthost::PlaybackStreams& streams) {
    vsthost::playScript(instance_, host_.transport, script, sizer, inputFrames, streams);
}

}  // namespace slicecastcli
