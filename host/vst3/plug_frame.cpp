#include "plug_frame.h"

#include <algorithm>

namespace vst3host {

PlugFrame::~PlugFrame() {
    // A view that never unregistered leaves nothing running on the loop.
    for (const auto& entry : descriptors_) loop_.removeDescriptor(entry.second.first);
    for (const auto& entry : timers_) loop_.removeTimer(entry.second.first);
}

vst3::tresult PlugFrame::resizeView(vst3::IPlugView* view, vst3::ViewRect* newSize) {
    if (view == nullptr || newSize == nullptr) return vst3::kInvalidArgument;
    requestedSize_ = *newSize;
    return view->onSize(newSize);
}

vst3::tresult PlugFrame::registerEventHandler(vst3::IEventHandler* handler, int fd) {
    if (handler == nullptr || fd < 0) return vst3::kInvalidArgument;
    if (!loop_.addDescriptor(fd, [handler, fd] { handler->onFDIsSet(fd); })) return vst3::kInvalidArgument;
    descriptors_.emplace(handler, std::pair{fd, Ref<vst3::IEventHandler>::share(handler)});
    return vst3::kResultTrue;
}

vst3::tresult PlugFrame::unregisterEventHandler(vst3::IEventHandler* handler) {
    const auto [first, last] = descriptors_.equal_range(handler);
    if (first == last) return vst3::kResultFalse;
    for (auto entry = first; entry != last; ++entry) loop_.removeDescriptor(entry->second.first);
    descriptors_.erase(first, last);
    return vst3::kResultTrue;
}

vst3::tresult PlugFrame::registerTimer(vst3::ITimerHandler* handler, std::uint64_t milliseconds) {
    if (handler == nullptr || milliseconds == 0) return vst3::kInvalidArgument;
    const std::uint32_t id =
        loop_.addTimer(static_cast<std::int32_t>(std::min<std::uint64_t>(milliseconds, INT32_MAX)),
                       [handler](std::uint32_t) { handler->onTimer(); });
    timers_.emplace(handler, std::pair{id, Ref<vst3::ITimerHandler>::share(handler)});
    return vst3::kResultTrue;
}

vst3::tresult PlugFrame::unregisterTimer(vst3::ITimerHandler* handler) {
    const auto [first, last] = timers_.equal_range(handler);
    if (first == last) return vst3::kResultFalse;
    for (auto entry = first; entry != last; ++entry) loop_.removeTimer(entry->second.first);
    timers_.erase(first, last);
    return vst3::kResultTrue;
}

}  // namespace vst3host
