#include "restart_on_tick.h"

namespace slicecast {

namespace {

// Soon enough to look immediate, rare enough to cost nothing.
constexpr vst3::uint64 kTickMilliseconds = 30;

}  // namespace

void RestartOnTick::setHandler(vst3::IComponentHandler* handler) noexcept {
    stopTimer();
    pending_ = false;
    handler_.reset(handler);
}

void RestartOnTick::request() noexcept {
    if (handler_.get() == nullptr) return;
    pending_ = true;
    if (runLoop_.get() != nullptr) return;
    void* found = nullptr;
    if (handler_.get()->queryInterface(vst3::IRunLoop::iid.data(), &found) != vst3::kResultOk || found == nullptr)
        return;
    auto* runLoop = static_cast<vst3::IRunLoop*>(found);
    if (runLoop->registerTimer(&timer_, kTickMilliseconds) == vst3::kResultOk) runLoop_.reset(runLoop);
    // The query's reference; the held one is taken by reset.
    runLoop->release();
}

void RestartOnTick::tick() noexcept {
    if (!pending_ || handler_.get() == nullptr) return;
    pending_ = false;
    handler_.get()->restartComponent(vst3::kParamValuesChanged);
}

void RestartOnTick::stopTimer() noexcept {
    if (runLoop_.get() == nullptr) return;
    runLoop_.get()->unregisterTimer(&timer_);
    runLoop_.reset();
}

}  // namespace slicecast
