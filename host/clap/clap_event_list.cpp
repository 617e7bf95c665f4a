#include "clap_event_list.h"

#include <algorithm>
#include <cstring>

namespace claphost {

EventList::EventList() : list_{this, &sizeOf, &get} {}

EventList::EventList(const EventList& other) : events_(other.events_), list_{this, &sizeOf, &get} {}

EventList& EventList::operator=(const EventList& other) {
    events_ = other.events_;
    return *this;
}

void EventList::addParamValue(std::uint32_t frame, clap::Id paramId, double value, void* cookie,
                              std::uint16_t spaceId) {
    clap::EventParamValue event{};
    event.header = {sizeof event, frame, spaceId, clap::kEventParamValue, 0};
    event.paramId = paramId;
    event.cookie = cookie;
    event.noteId = -1;
    event.portIndex = -1;
    event.channel = -1;
    event.key = -1;
    event.value = value;
    addRaw(event.header);
}

void EventList::addTransport(std::uint32_t frame, clap::EventTransport transport) {
    transport.header = {sizeof transport, frame, clap::kCoreEventSpace, clap::kEventTransport, 0};
    addRaw(transport.header);
}

void EventList::addRaw(const clap::EventHeader& event) {
    const std::size_t bytes = std::max<std::size_t>(event.size, sizeof(clap::EventHeader));
    std::vector<std::uint64_t> words((bytes + sizeof(std::uint64_t) - 1) / sizeof(std::uint64_t), 0);
    std::memcpy(words.data(), &event, bytes);
    const auto later = std::upper_bound(events_.begin(), events_.end(), event.time,
                                        [](std::uint32_t time, const std::vector<std::uint64_t>& stored) {
                                            return time < reinterpret_cast<const clap::EventHeader*>(stored.data())->time;
                                        });
    events_.insert(later, std::move(words));
}

const clap::EventHeader* EventList::at(std::uint32_t index) const {
    if (index >= events_.size()) return nullptr;
    return reinterpret_cast<const clap::EventHeader*>(events_[index].data());
}

std::uint32_t EventList::sizeOf(const clap::InputEvents* list) { return static_cast<const EventList*>(list->ctx)->size(); }

const clap::EventHeader* EventList::get(const clap::InputEvents* list, std::uint32_t index) {
    return static_cast<const EventList*>(list->ctx)->at(index);
}

EventSink::EventSink() : list_{this, &tryPush} {}

bool EventSink::tryPush(const clap::OutputEvents* list, const clap::EventHeader* event) {
    if (event == nullptr) return false;
    auto* sink = static_cast<EventSink*>(list->ctx);
    ++sink->pushed_;
    sink->events_.addRaw(*event);
    return true;
}

}  // namespace claphost
