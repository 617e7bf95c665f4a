#include "event_list.h"

namespace vst3host {

vst3::tresult EventList::getEvent(vst3::int32 index, vst3::Event& event) {
    if (index < 0 || static_cast<std::size_t>(index) >= events_.size()) return vst3::kInvalidArgument;
    event = events_[static_cast<std::size_t>(index)];
    return vst3::kResultOk;
}

vst3::tresult EventList::addEvent(vst3::Event& event) {
    events_.push_back(event);
    return vst3::kResultOk;
}

}  // namespace vst3host
