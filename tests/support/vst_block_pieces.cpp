#include "vst_block_pieces.h"

namespace testsupport {

VstBlockPieces::VstBlockPieces(vst2host::PluginInstance& plugin, ScriptedTimeHost& host,
                               std::optional<VstTimeInfo> time, const pluginhost::StereoBuffer& input,
                               pluginhost::StereoBuffer& output, std::size_t first)
    : plugin_(plugin), host_(host), time_(time), input_(input), output_(output), first_(first) {}

void VstBlockPieces::playUntil(std::size_t cut) {
    if (cut <= done_) return;
    host_.answerWith(time_ ? &*time_ : nullptr);
    const std::size_t at = first_ + done_;
    // The effect must not write its inputs: read-only data through the
    // interface's non-const pointers.
    float* inputs[2] = {const_cast<float*>(&input_.left[at]), const_cast<float*>(&input_.right[at])};
    float* outputs[2] = {&output_.left[at], &output_.right[at]};
    plugin_.processReplacing(inputs, outputs, static_cast<VstInt32>(cut - done_));
    if (time_) time_->flags &= ~kVstPpqPosValid;
    done_ = cut;
}

}  // namespace testsupport
