// The atom sequence a host writes into a plug-in's control port: an
// 8-byte-aligned buffer of fixed capacity, filled with time:Position events
// as LV2's atom forge writes them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include <lv2/atom/atom.h>

#include "lv2_time_position.h"
#include "urid_map.h"

namespace lv2host {

class EventSequence {
public:
    static constexpr std::size_t kDefaultCapacity = 64 * 1024;

    explicit EventSequence(UridMap& map, std::size_t capacityBytes = kDefaultCapacity);

    // An empty sequence (frame time): what hosts send when nothing changed.
    void clear();
    // The events in the given order (a test may give them out of order),
    // then each of atoms (whole atoms, as an editor writes them) at frame
    // atomFrame. Throws std::length_error when they do not fit.
    void write(const std::vector<TimePosition>& events, const std::vector<std::vector<std::uint8_t>>& atoms = {},
               std::uint32_t atomFrame = 0);

    // What to connect to the control port.
    LV2_Atom_Sequence* data() { return reinterpret_cast<LV2_Atom_Sequence*>(buffer_.data()); }
    std::size_t capacity() const { return buffer_.size() * sizeof(std::uint64_t); }

private:
    UridMap& map_;
    std::vector<std::uint64_t> buffer_;
};

}  // namespace lv2host
