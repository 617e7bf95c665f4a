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
        const std::int32_t slot = slotOf(id);
        if (slot < 0 || cursors_[static_cast<std::size_t>(slot)].queue != nullptr) continue;
        Cursor& cursor = cursors_[static_cast<std::size_t>(slot)];
        cursor.queue = queue;
        cursor.id = id;
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

std::int32_t ChangePoints::slotOf(vst3::ParamID id) noexcept {
    if (isProgramParameter(id)) return 0;
    return isVst3ParameterId(id) ? static_cast<std::int32_t>(id) + 1 : -1;
}

bool ChangePoints::next(ChangePoint& point) noexcept {
    Cursor* earliest = nullptr;
    for (Cursor& cursor : cursors_) {
        if (cursor.queue == nullptr) continue;
        if (earliest == nullptr || cursor.offset < earliest->offset) earliest = &cursor;
    }
    if (earliest == nullptr) return false;
    point = {earliest->offset, earliest->id, earliest->value};
    ++earliest->index;
    if (!load(*earliest)) *earliest = {};
    return true;
}

}  // namespace slicecast
