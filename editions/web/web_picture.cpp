#include "web_picture.h"

#include "played_block.h"
#include "slicecast_steps.h"

namespace slicecast {

WebPicture::WebPicture(float sampleRate, float waveLength, float updatePeriod)
    : passes_(sampleRate, slicecastcli::SlicecastSteps(pluginhost::PluginFormat::Lv2), waveLength, updatePeriod) {}

void WebPicture::parameterSet(std::int32_t index, float plain) { parametersSet_.emplace_back(index, plain); }

void WebPicture::played(const pluginhost::BlockTime& time, std::int32_t frames) {
    pluginhost::PlayedBlock block;
    block.outputFrame = outputFrame_;
    block.inputFrame = outputFrame_;
    block.frames = frames;
    block.time = time;
    block.parametersSet = std::move(parametersSet_);
    parametersSet_.clear();
    addBeats(block, beats_);
    passes_.play(block);
    outputFrame_ += frames;
}

}  // namespace slicecast
