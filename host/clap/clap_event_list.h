// The events a host hands a CLAP plug-in with one block (or with flush):
// parameter values, transport changes and any other event, copied in and
// kept sorted by frame (events of one frame keep the order they were added
// in). inputEvents() is the list as the plug-in sees it. The sink takes
// what a plug-in pushes back.
#pragma once

#include <cstdint>
#include <vector>

#include "clap_abi.h"

namespace claphost {

class EventList {
public:
    EventList();
    EventList(const EventList& other);
    EventList& operator=(const EventList& other);

    // A PARAM_VALUE event; spaceId other than the core space makes one
    // the plug-in must ignore.
    void addParamValue(std::uint32_t frame, clap::Id paramId, double value, void* cookie = nullptr,
                       std::uint16_t spaceId = clap::kCoreEventSpace);
    // A TRANSPORT event: the header of transport is filled in here.
    void addTransport(std::uint32_t frame, clap::EventTransport transport);
    // Any event, copied by its header's size (at least the header's own).
    void addRaw(const clap::EventHeader& event);

    std::uint32_t size() const { return static_cast<std::uint32_t>(events_.size()); }
    bool empty() const { return events_.empty(); }
    void clear() { events_.clear(); }
    const clap::EventHeader* at(std::uint32_t index) const;
    const clap::InputEvents* inputEvents() const { return &list_; }

private:
    static std::uint32_t SLICECAST_CLAP_CALL sizeOf(const clap::InputEvents* list);
    static const clap::EventHeader* SLICECAST_CLAP_CALL get(const clap::InputEvents* list, std::uint32_t index);

    // Whole 8-byte words keep every event's doubles and pointers aligned.
    std::vector<std::vector<std::uint64_t>> events_;
    clap::InputEvents list_;
};

class EventSink {
public:
    EventSink();
    EventSink(const EventSink&) = delete;
    EventSink& operator=(const EventSink&) = delete;

    const clap::OutputEvents* outputEvents() const { return &list_; }
    std::uint32_t pushed() const { return pushed_; }
    // What was pushed, in order.
    const EventList& events() const { return events_; }
    void clear() { events_.clear(); }

private:
    static bool SLICECAST_CLAP_CALL tryPush(const clap::OutputEvents* list, const clap::EventHeader* event);

    std::uint32_t pushed_ = 0;
    EventList events_;
    clap::OutputEvents list_;
};

}  // namespace claphost
