#include "component_handler.h"

#include <algorithm>

namespace vst3host {

ComponentHandler::~ComponentHandler() {
    for (vst3::ITimerHandler* timer : timers_) timer->release();
}

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

vst3::tresult ComponentHandler::registerEventHandler(vst3::IEventHandler*, int) { return vst3::kNotImplemented; }

vst3::tresult ComponentHandler::unregisterEventHandler(vst3::IEventHandler*) { return vst3::kNotImplemented; }

vst3::tresult ComponentHandler::registerTimer(vst3::ITimerHandler* handler, vst3::uint64 milliseconds) {
    if (handler == nullptr || milliseconds == 0) return vst3::kInvalidArgument;
    const std::lock_guard<std::mutex> lock(mutex_);
    handler->addRef();
    timers_.push_back(handler);
    return vst3::kResultOk;
}

vst3::tresult ComponentHandler::unregisterTimer(vst3::ITimerHandler* handler) {
    const std::lock_guard<std::mutex> lock(mutex_);
    const auto found = std::find(timers_.begin(), timers_.end(), handler);
    if (found == timers_.end()) return vst3::kInvalidArgument;
    timers_.erase(found);
    handler->release();
    return vst3::kResultOk;
}

void ComponentHandler::tick() {
    std::vector<vst3::ITimerHandler*> timers;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        timers = timers_;
        for (vst3::ITimerHandler* timer : timers) timer->addRef();
    }
    // Called without the lock: a timer may restart the component or
    // unregister itself.
    for (vst3::ITimerHandler* timer : timers) {
        timer->onTimer();
        timer->release();
    }
}

std::size_t ComponentHandler::timerCount() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return timers_.size();
}

}  // namespace vst3host
