// A list of events as a host hands one to a plug-in: the host's input
// events (none for an effect's blocks, which have no notes) or the output
// list a plug-in may add to, which the host empties before each block.
#pragma once

#include <vector>

#include "host_object.h"
#include "vst3_abi.h"

namespace vst3host {

class EventList final : public HostObject<EventList, vst3::IEventList> {
public:
    vst3::int32 SLICECAST_VST3_CALL getEventCount() override { return static_cast<vst3::int32>(events_.size()); }
    vst3::tresult SLICECAST_VST3_CALL getEvent(vst3::int32 index, vst3::Event& event) override;
    vst3::tresult SLICECAST_VST3_CALL addEvent(vst3::Event& event) override;

    void clear() { events_.clear(); }

private:
    std::vector<vst3::Event> events_;
};

}  // namespace vst3host
