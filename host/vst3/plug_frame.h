// The host's frame around an editor's view, and on Linux the run loop it
// lends the view: the view's descriptors and timers run on the host's UI
// loop, each handler held with a reference of its own until it is
// unregistered. A resize the view asks for is taken as it is.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "host_object.h"
#include "reference.h"
#include "ui_loop.h"
#include "vst3_view_abi.h"

namespace vst3host {

class PlugFrame final : public HostObject<PlugFrame, vst3::IPlugFrame, vst3::IRunLoop> {
public:
    explicit PlugFrame(pluginhost::UiLoop& loop) : loop_(loop) {}
    ~PlugFrame();

    vst3::tresult SLICECAST_VST3_CALL resizeView(vst3::IPlugView* view, vst3::ViewRect* newSize) override;

    vst3::tresult SLICECAST_VST3_CALL registerEventHandler(vst3::IEventHandler* handler, int fd) override;
    vst3::tresult SLICECAST_VST3_CALL unregisterEventHandler(vst3::IEventHandler* handler) override;
    vst3::tresult SLICECAST_VST3_CALL registerTimer(vst3::ITimerHandler* handler,
                                                    std::uint64_t milliseconds) override;
    vst3::tresult SLICECAST_VST3_CALL unregisterTimer(vst3::ITimerHandler* handler) override;

    // The size the view last asked for, if it asked.
    std::optional<vst3::ViewRect> requestedSize() const { return requestedSize_; }
    std::size_t registrations() const { return descriptors_.size() + timers_.size(); }

private:
    pluginhost::UiLoop& loop_;
    std::multimap<vst3::IEventHandler*, std::pair<int, Ref<vst3::IEventHandler>>> descriptors_;
    std::multimap<vst3::ITimerHandler*, std::pair<std::uint32_t, Ref<vst3::ITimerHandler>>> timers_;
    std::optional<vst3::ViewRect> requestedSize_;
};

}  // namespace vst3host
