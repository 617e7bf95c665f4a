#include "component_handler.h"

namespace vst3host {

vst3::tresult ComponentHandler::record(ParameterEdit edit) {
    const std::lock_guard<std::mutex> lock(mutex_);
    edits_.push_back(edit);
    return vst3::kResultOk;
}

vst3::tresult ComponentHandler::beginEdit(vst3::ParamID id) { return record({ParameterEdit::Kind::Begin, id, 0.0}); }

vst3::tresult ComponentHandler::performEdit(vst3::ParamID id, vst3::ParamValue valueNormalized) {
    return record({ParameterEdit::Kind::Perform, id, valueNormalized});
}

vst3::tresult ComponentHandler::endEdit(vst3::ParamID id) { return record({ParameterEdit::Kind::End, id, 0.0}); }

vst3::tresult ComponentHandler::restartComponent(vst3::int32 flags) {
    const std::lock_guard<std::mutex> lock(mutex_);
    restarts_.push_back(flags);
    return vst3::kResultOk;
}

std::vector<ParameterEdit> ComponentHandler::edits() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return edits_;
}

std::vector<vst3::int32> ComponentHandler::restarts() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return restarts_;
}

}  // namespace vst3host
