#include "event_sequence.h"

#include <algorithm>
#include <stdexcept>

#include <lv2/atom/forge.h>
#include <lv2/time/time.h>

namespace lv2host {

namespace {

LV2_Atom_Forge_Ref forgeValue(LV2_Atom_Forge& forge, const TimeValue& value) {
    switch (value.type) {
        case TimeValue::Type::Int: return lv2_atom_forge_int(&forge, static_cast<std::int32_t>(value.value));
        case TimeValue::Type::Long: return lv2_atom_forge_long(&forge, static_cast<std::int64_t>(value.value));
        case TimeValue::Type::Float: return lv2_atom_forge_float(&forge, static_cast<float>(value.value));
        case TimeValue::Type::Double: return lv2_atom_forge_double(&forge, value.value);
    }
    return 0;
}

// The forge fails quietly once the buffer is full: every write after that
// answers 0. Answers whether the key fit.
bool forgeKey(LV2_Atom_Forge& forge, UridMap& map, const char* key, const std::optional<TimeValue>& value) {
    if (!value) return true;
    return lv2_atom_forge_key(&forge, map.map(key)) != 0 && forgeValue(forge, *value) != 0;
}

}  // namespace

EventSequence::EventSequence(UridMap& map, std::size_t capacityBytes)
    : map_(map), buffer_((capacityBytes + sizeof(std::uint64_t) - 1) / sizeof(std::uint64_t), 0) {
    clear();
}

void EventSequence::clear() { write({}); }

void EventSequence::write(const std::vector<TimePosition>& events,
                          const std::vector<std::vector<std::uint8_t>>& atoms, std::uint32_t atomFrame) {
    std::fill(buffer_.begin(), buffer_.end(), 0);
    LV2_Atom_Forge forge;
    lv2_atom_forge_init(&forge, map_.feature());
    lv2_atom_forge_set_buffer(&forge, reinterpret_cast<std::uint8_t*>(buffer_.data()), capacity());
    LV2_Atom_Forge_Frame sequenceFrame;
    if (lv2_atom_forge_sequence_head(&forge, &sequenceFrame, map_.map(LV2_ATOM__frameTime)) == 0) {
        throw std::length_error("no room for an atom sequence");
    }
    for (const TimePosition& event : events) {
        LV2_Atom_Forge_Frame objectFrame;
        const bool timed = lv2_atom_forge_frame_time(&forge, event.offset) != 0;
        const LV2_Atom_Forge_Ref object = lv2_atom_forge_object(&forge, &objectFrame, 0, map_.map(LV2_TIME__Position));
        bool fits = timed && object != 0;
        fits = forgeKey(forge, map_, LV2_TIME__frame, event.frame) && fits;
        fits = forgeKey(forge, map_, LV2_TIME__speed, event.speed) && fits;
        fits = forgeKey(forge, map_, LV2_TIME__beat, event.beat) && fits;
        fits = forgeKey(forge, map_, LV2_TIME__bar, event.bar) && fits;
        fits = forgeKey(forge, map_, LV2_TIME__barBeat, event.barBeat) && fits;
        fits = forgeKey(forge, map_, LV2_TIME__beatsPerBar, event.beatsPerBar) && fits;
        fits = forgeKey(forge, map_, LV2_TIME__beatUnit, event.beatUnit) && fits;
        fits = forgeKey(forge, map_, LV2_TIME__beatsPerMinute, event.beatsPerMinute) && fits;
        lv2_atom_forge_pop(&forge, &objectFrame);
        if (!fits) throw std::length_error("time events do not fit the sequence");
        if (event.asBlank) lv2_atom_forge_deref(&forge, object)->type = map_.map(LV2_ATOM__Blank);
    }
    for (const std::vector<std::uint8_t>& atom : atoms) {
        if (lv2_atom_forge_frame_time(&forge, atomFrame) == 0 ||
            lv2_atom_forge_write(&forge, atom.data(), static_cast<std::uint32_t>(atom.size())) == 0) {
            throw std::length_error("atoms do not fit the sequence");
        }
    }
    lv2_atom_forge_pop(&forge, &sequenceFrame);
}

}  // namespace lv2host
