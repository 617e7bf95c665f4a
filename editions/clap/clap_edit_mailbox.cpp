#include "clap_edit_mailbox.h"

#include "clap_gui_abi.h"

namespace slicecast {

namespace {

bool pushGesture(const clap::OutputEvents& out, clap::EventType type, clap::Id id) noexcept {
    const clap::EventParamGesture event{
        {sizeof(clap::EventParamGesture), 0, clap::kCoreEventSpace, type, clap::kEventIsLive}, id};
    return out.tryPush(&out, &event.header);
}

bool pushValue(const clap::OutputEvents& out, clap::Id id, double plain) noexcept {
    const clap::EventParamValue event{
        {sizeof(clap::EventParamValue), 0, clap::kCoreEventSpace, clap::kEventParamValue, clap::kEventIsLive},
        id,
        nullptr,
        -1,
        -1,
        -1,
        -1,
        plain};
    return out.tryPush(&out, &event.header);
}

}  // namespace

void ClapEditMailbox::begin(clap::Id id) noexcept {
    if (ClapParameters::isId(id)) slots_[id].begins.fetch_add(1, std::memory_order_release);
}

void ClapEditMailbox::change(clap::Id id, double plain) noexcept {
    if (!ClapParameters::isId(id)) return;
    slots_[id].value.store(plain, std::memory_order_relaxed);
    slots_[id].valueSerial.fetch_add(1, std::memory_order_release);
}

void ClapEditMailbox::end(clap::Id id) noexcept {
    if (ClapParameters::isId(id)) slots_[id].ends.fetch_add(1, std::memory_order_release);
}

void ClapEditMailbox::deliver(const clap::OutputEvents& out) noexcept {
    for (clap::Id id = 0; id < kClapParameterCount; ++id) {
        if (!deliver(id, slots_[id], out)) return;
    }
}

bool ClapEditMailbox::deliver(clap::Id id, Slot& slot, const clap::OutputEvents& out) noexcept {
    const std::uint32_t begins = slot.begins.load(std::memory_order_acquire);
    const std::uint32_t ends = slot.ends.load(std::memory_order_acquire);
    // Gestures one after the other: each opened, given the newest value,
    // and closed, until every posted begin and end is out.
    for (;;) {
        const bool open = slot.sentBegins != slot.sentEnds;
        if (!open && slot.sentBegins != begins) {
            if (!pushGesture(out, clap::kEventParamGestureBegin, id)) return false;
            ++slot.sentBegins;
        }
        const std::uint32_t serial = slot.valueSerial.load(std::memory_order_acquire);
        if (serial != slot.sentSerial) {
            if (!pushValue(out, id, slot.value.load(std::memory_order_relaxed))) return false;
            slot.sentSerial = serial;
        }
        if (slot.sentBegins == slot.sentEnds || slot.sentEnds == ends) return true;
        if (!pushGesture(out, clap::kEventParamGestureEnd, id)) return false;
        ++slot.sentEnds;
        if (slot.sentBegins == begins) return true;
    }
}

}  // namespace slicecast
