#include "change_points.h"

namespace slicecast {

void ChangePoints::start(vst3::IParameterChanges* changes) noexcept {
    cursors_ = {};
    if (changes == nullptr) return;
    const vst3::int32 queueCount = changes->getParameterCount();
    for (vst3::int32 i = 0; i < queueCount; ++i) {
        vst3::IParamValueQueue* queue = changes->getParameterData(i);
        if (queue == nullptr) continue;
        const vst3::ParamID id = queue->getParameterId();
        if (!isVst3ParameterId(id) || cursors_[id].queue != nullptr) continue;
        Cursor& cursor = cursors_[id];
        cursor.queue = queue;
        cursor.count = queue->getPointCount();
        if (!load(cursor)) cursor = {};
    }
}

bool ChangePoints::load(Cursor& cursor) noexcept {
    for (; cursor.index < cursor.count; ++cursor.index) {
        if (cursor.queue->getPoint(cursor.index, cursor.offset, cursor.value) == vst3::kResultOk) return true;
    }
    return false;
}

bool ChangePoints::next(ChangePoint& point) noexcept {
    Cursor* earliest = nullptr;
    vst3::ParamID earliestId = 0;
    for (vst3::ParamID id = 0; id < kVst3ParameterCount; ++id) {
        Cursor& cursor = cursors_[id];
        if (cursor.queue == nullptr) continue;
        if (earliest == nullptr || cursor.offset < earliest->offset) {
            earliest = &cursor;
            earliestId = id;
        }
    }
    if (earliest == nullptr) return false;
    point = {earliest->offset, earliestId, earliest->value};
    ++earliest->index;
    if (!load(*earliest)) *earliest = {};
    return true;
}

}  // namespace slicecast
