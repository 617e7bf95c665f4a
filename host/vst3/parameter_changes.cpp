#include "parameter_changes.h"

#include <algorithm>

namespace vst3host {

vst3::tresult ParamValueQueue::getPoint(vst3::int32 index, vst3::int32& sampleOffset, vst3::ParamValue& value) {
    if (index < 0 || static_cast<std::size_t>(index) >= points_.size()) return vst3::kInvalidArgument;
    sampleOffset = points_[static_cast<std::size_t>(index)].first;
    value = points_[static_cast<std::size_t>(index)].second;
    return vst3::kResultOk;
}

vst3::tresult ParamValueQueue::addPoint(vst3::int32 sampleOffset, vst3::ParamValue value, vst3::int32& index) {
    const auto at = std::upper_bound(points_.begin(), points_.end(), sampleOffset,
                                     [](vst3::int32 offset, const auto& point) { return offset < point.first; });
    index = static_cast<vst3::int32>(points_.insert(at, {sampleOffset, value}) - points_.begin());
    return vst3::kResultOk;
}

void ParamValueQueue::restart(vst3::ParamID id) {
    id_ = id;
    points_.clear();
}

vst3::IParamValueQueue* ParameterChanges::getParameterData(vst3::int32 index) {
    if (index < 0 || static_cast<std::size_t>(index) >= used_) return nullptr;
    return queues_[static_cast<std::size_t>(index)].get();
}

vst3::IParamValueQueue* ParameterChanges::addParameterData(const vst3::ParamID& id, vst3::int32& index) {
    for (std::size_t i = 0; i < used_; ++i) {
        if (queues_[i]->getParameterId() == id) {
            index = static_cast<vst3::int32>(i);
            return queues_[i].get();
        }
    }
    if (used_ == queues_.size())
        queues_.push_back(makeHostObject<ParamValueQueue>(id));
    else
        queues_[used_]->restart(id);
    index = static_cast<vst3::int32>(used_);
    return queues_[used_++].get();
}

ParameterChanges& ParameterChanges::add(vst3::ParamID id, vst3::int32 sampleOffset, vst3::ParamValue value) {
    vst3::int32 index = 0;
    vst3::int32 point = 0;
    addParameterData(id, index)->addPoint(sampleOffset, value, point);
    return *this;
}

}  // namespace vst3host
