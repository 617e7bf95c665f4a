#include "lv2_edition.h"

#include <cstring>
#include <stdexcept>

#include "slicecast_plugin.h"

namespace lv2tests {

const std::string& bundlePath() {
    static const std::string path = SLICECAST_LV2_BUNDLE;
    return path;
}

const lv2host::Lv2Plugin& slicecastLv2() {
    static const lv2host::Lv2Plugin plugin(bundlePath());
    return plugin;
}

pluginhost::StereoBuffer renderLv2(lv2host::Lv2Instance& instance, const pluginhost::StereoBuffer& input,
                                const std::vector<Block>& blocks) {
    pluginhost::StereoBuffer output(input.frames());
    std::size_t at = 0;
    for (const Block& block : blocks) {
        if (at + block.frames > input.frames()) throw std::logic_error("blocks longer than the input");
        instance.run({input.left.data() + at, input.right.data() + at, output.left.data() + at,
                      output.right.data() + at},
                     block.frames, block.events);
        at += block.frames;
    }
    return output;
}

VstReference::VstReference() : plugin_(host_, testsupport::slicecastEntry()) {
    host_.transport = pluginhost::Transport(kSampleRate);
    plugin_.switchOn(static_cast<float>(kSampleRate), 512);
}

pluginhost::StereoBuffer VstReference::render(const pluginhost::StereoBuffer& input, const std::vector<VstBlock>& blocks) {
    pluginhost::StereoBuffer output(input.frames());
    std::size_t at = 0;
    for (const VstBlock& block : blocks) {
        const auto frames = static_cast<std::size_t>(block.frames);
        if (at + frames > input.frames()) throw std::logic_error("blocks longer than the input");
        VstTimeInfo record{};
        record.sampleRate = kSampleRate;
        record.tempo = block.tempo.value_or(0.0);
        record.ppqPos = block.position.value_or(0.0);
        record.flags = kVstTransportPlaying | (block.tempo ? kVstTempoValid : 0) | (block.position ? kVstPpqPosValid : 0);
        host_.answerWith(&record);
        float* inputs[2] = {const_cast<float*>(input.left.data() + at), const_cast<float*>(input.right.data() + at)};
        float* outputs[2] = {output.left.data() + at, output.right.data() + at};
        plugin_.processReplacing(inputs, outputs, block.frames);
        at += frames;
    }
    return output;
}

lv2host::TimePosition positionEvent(std::int64_t offset, double quarterNotes, double tempo) {
    lv2host::TimePosition event;
    event.offset = offset;
    event.beat = lv2host::TimeValue::ofDouble(quarterNotes);
    event.beatsPerMinute = lv2host::TimeValue::ofDouble(tempo);
    return event;
}

std::int64_t firstDifference(const pluginhost::StereoBuffer& a, const pluginhost::StereoBuffer& b) {
    if (a.frames() != b.frames()) throw std::logic_error("buffers of different lengths");
    for (std::size_t i = 0; i < a.frames(); ++i) {
        if (std::memcmp(&a.left[i], &b.left[i], sizeof(float)) != 0 ||
            std::memcmp(&a.right[i], &b.right[i], sizeof(float)) != 0) {
            return static_cast<std::int64_t>(i);
        }
    }
    return -1;
}

}  // namespace lv2tests
